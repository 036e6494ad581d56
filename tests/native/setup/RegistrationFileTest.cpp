#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "setup/EffectCatalog.h"
#include "setup/RegistrationFile.h"

namespace {

using namespace padsetup;

constexpr char kOemType[] =
    "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\MediaProperties\\PrivateProperties\\Joystick\\"
    "OEM\\VID_7A3C&PID_A02f";
constexpr char kClasses[] = "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\";

// key -> value name ("@" for the default) -> data as written.
using RegFile = std::map<std::string, std::map<std::string, std::string>>;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    EXPECT_EQ(start, text.size()) << "the file ends with a line end";
    return lines;
}

RegFile Parse(const std::string& text) {
    RegFile file;
    std::string key;
    for (const std::string& line : Lines(text)) {
        EXPECT_EQ(line.find('\n'), std::string::npos) << "no bare line feed in: " << line;
        if (line.empty() || line == "REGEDIT4") continue;
        if (line.front() == '[') {
            key = line.substr(1, line.size() - 2);
            file[key];
        } else if (line.rfind("@=", 0) == 0) {
            file[key]["@"] = line.substr(2);
        } else {
            const size_t eq = line.find("\"=");
            EXPECT_NE(eq, std::string::npos) << line;
            file[key][line.substr(1, eq - 1)] = line.substr(eq + 2);
        }
    }
    return file;
}

TEST(RegistrationValues, QuoteTextAndWriteBytesAsRegeditReadsThem) {
    EXPECT_EQ(RegQuoted("a\\b\"c"), "\"a\\\\b\\\"c\"");
    const uint8_t bytes[] = {0x0A, 0x00, 0xFF};
    EXPECT_EQ(RegHex(bytes, 3), "hex:0a,00,ff");
    EXPECT_EQ(RegHex(bytes, 0), "hex:");
    EXPECT_EQ(RegExpandString("%A%"), "hex(2):25,41,25,00");
}

TEST(RegistrationFile, StartsAsARegedit4FileWithWindowsLineEnds) {
    const std::string text = RegistrationText();
    EXPECT_EQ(text.rfind("REGEDIT4\r\n\r\n", 0), 0u);
    Parse(text);
}

TEST(RegistrationFile, RegistersBothServersAtTheirInstalledPathWithAThreadingModel) {
    RegFile file = Parse(RegistrationText());
    const std::string force = std::string(kClasses) + "{5D1C2A90-7A3C-A02F-8E41-00104B7C3D21}\\InprocServer32";
    const std::string panel = std::string(kClasses) + "{2E8B4F16-7A3C-A02F-C5D2-0040A1E6B937}\\InprocServer32";
    ASSERT_EQ(file.count(force), 1u);
    ASSERT_EQ(file.count(panel), 1u);
    EXPECT_EQ(file[force]["@"], RegExpandString("%SystemRoot%\\System32\\padforce.dll"));
    EXPECT_EQ(file[force]["ThreadingModel"], "\"Both\"");
    EXPECT_EQ(file[panel]["@"], RegExpandString("%SystemRoot%\\System32\\padpanel.dll"));
    EXPECT_EQ(file[panel]["ThreadingModel"], "\"Apartment\"");
}

TEST(RegistrationFile, ListsEveryEffectUnderTheOemTypeWithItsNameAndAttributes) {
    RegFile file = Parse(RegistrationText());
    const std::string effects = std::string(kOemType) + "\\OEMForceFeedback\\Effects\\";
    size_t effectKeys = 0;
    for (const auto& [key, values] : file) effectKeys += key.rfind(effects, 0) == 0;
    EXPECT_EQ(effectKeys, kEffectCatalog.size());

    const std::string constant = effects + "{13541C20-8E33-11D0-9AD0-00A0C9A06E35}";
    ASSERT_EQ(file.count(constant), 1u);
    EXPECT_EQ(file[constant]["@"], "\"Constant Force\"");
    EXPECT_EQ(file[constant]["Attributes"],
              "hex:00,00,00,00,01,86,00,00,e5,03,00,00,e5,03,00,00,30,00,00,00");
    const std::string sine = effects + "{13541C23-8E33-11D0-9AD0-00A0C9A06E35}";
    ASSERT_EQ(file.count(sine), 1u);
    EXPECT_EQ(file[sine]["Attributes"], "hex:03,00,00,00,03,86,00,00,e5,03,00,00,e5,03,00,00,30,00,00,00");
}

TEST(RegistrationFile, LeavesTheOemTypeValuesToPadsetup) {
    RegFile file = Parse(RegistrationText());
    for (const auto& [key, values] : file) {
        if (key.rfind(kOemType, 0) != 0) continue;
        EXPECT_NE(key.find("\\OEMForceFeedback\\Effects\\"), std::string::npos)
            << "only the effect list is written by the file, not " << key;
    }
}

TEST(UnregistrationFile, RemovesBothClassesAndTheOemTypeWithItsEffectsAndNothingElse) {
    std::vector<std::string> removed;
    for (const std::string& line : Lines(UnregistrationText())) {
        if (line.empty() || line == "REGEDIT4") continue;
        ASSERT_EQ(line.rfind("[-", 0), 0u) << "only key removals in: " << line;
        removed.push_back(line.substr(2, line.size() - 3));
    }
    EXPECT_EQ(removed, (std::vector<std::string>{
                           std::string(kClasses) + "{5D1C2A90-7A3C-A02F-8E41-00104B7C3D21}",
                           std::string(kClasses) + "{2E8B4F16-7A3C-A02F-C5D2-0040A1E6B937}", kOemType}));
}

}  // namespace
