// The picture and the table dihost writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hosts/dihost/MotorPlot.h"

using namespace padhost;

namespace {

simpad::PadReport Report(double ms, uint8_t m1, uint8_t m2) {
    simpad::PadReport r;
    r.Bytes[1] = m1;
    r.Bytes[2] = m2;
    r.Length = 4;
    r.Frequency = 1000000;
    r.Ticks = static_cast<int64_t>(ms * 1000);
    return r;
}

size_t Count(const std::string& s, const std::string& what) {
    size_t n = 0;
    for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
    return n;
}

}  // namespace

TEST(MotorPicture, EachMotorIsAStepPlotThatHoldsItsValueUntilTheNextReport) {
    const std::vector<simpad::PadReport> reports = {Report(100, 0, 0), Report(200, 31, 8), Report(300, 31, 0),
                                                    Report(400, 0, 0)};
    const std::string svg = RenderMotorSvg(reports, {}, 100, 400, "t");
    ASSERT_EQ(svg.rfind("<svg ", 0), 0u);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    ASSERT_EQ(Count(svg, "class=\"motor\""), 2u);

    // x runs from 70 over 1300 pixels for 400 ms; values 0..31 over 170 pixels.
    const size_t first = svg.find("class=\"motor\" d=\"");
    const std::string motor1 = svg.substr(first, svg.find('"', first + 17) - first);
    // At 100 ms (x 395) up to 31 (y 150), held through the repeat at 200 ms,
    // down to 0 (y 320) at 300 ms (x 1045).
    EXPECT_NE(motor1.find("H395.0 V150.0"), std::string::npos) << motor1;
    EXPECT_NE(motor1.find("H720.0 H1045.0 V320.0"), std::string::npos) << motor1;
    EXPECT_EQ(Count(motor1, " V"), 2u) << "a report that repeats a value makes no step: " << motor1;
}

TEST(MotorPicture, EventsAreLabelledAtTheirTimeWithTheirTextEscaped) {
    const std::string svg =
        RenderMotorSvg({}, {{0, "bind"}, {250, "a & b <c>"}, {260, ""}}, 0, 1000, "run of \"x\"");
    EXPECT_EQ(Count(svg, "class=\"event\""), 2u) << "an empty label is no event";
    EXPECT_NE(svg.find(">a &amp; b &lt;c&gt;</text>"), std::string::npos);
    EXPECT_NE(svg.find("run of &quot;x&quot;"), std::string::npos);
    EXPECT_NE(svg.find("x1=\"395.0\""), std::string::npos) << "250 of 1000 ms is a quarter of the way";
    for (const char* tick : {">0</text>", ">100</text>", ">500</text>", ">1000</text>"})
        EXPECT_NE(svg.find(tick), std::string::npos) << tick;
}

TEST(MotorPicture, TheTableHasOneLinePerReportWithTimeValuesLengthAndBytes) {
    simpad::PadReport shortOne = Report(12.5, 12, 0);
    shortOne.Length = 2;
    const std::string csv = RenderReportsCsv({Report(10, 31, 0), shortOne}, 2.5);
    EXPECT_EQ(csv, "ms,motor1,motor2,length,bytes\n7.500,31,0,4,00 1F 00 00\n10.000,12,0,2,00 0C 00 00\n");
}
