#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "setup/RegistrationFile.h"
#include "setup/WixRegistration.h"

namespace {

using namespace padsetup;

constexpr char kMachine[] = "HKEY_LOCAL_MACHINE\\";

std::string XmlUnescaped(std::string text) {
    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"&quot;", "\""}, {"&lt;", "<"}, {"&gt;", ">"}, {"&amp;", "&"}}) {
        for (size_t at; (at = text.find(from)) != std::string::npos;) text.replace(at, from.size(), to);
    }
    return text;
}

struct Row {
    std::string Key, Name, Type, Value;
};

// An attribute's value on one line of XML, unescaped; empty when it is not there.
std::string Attribute(const std::string& line, const std::string& name) {
    const size_t at = line.find(" " + name + "=\"");
    if (at == std::string::npos) return "";
    const size_t start = at + name.size() + 3;
    return XmlUnescaped(line.substr(start, line.find('"', start) - start));
}

std::vector<Row> Rows(const std::string& include) {
    std::vector<Row> rows;
    size_t start = 0;
    for (size_t end; (end = include.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = include.substr(start, end - start);
        if (line.find("<RegistryValue Root=\"HKLM\"") == std::string::npos) continue;
        rows.push_back({Attribute(line, "Key"), Attribute(line, "Name"), Attribute(line, "Type"), Attribute(line, "Value")});
    }
    return rows;
}

// A row's data as the regedit file writes the same value; the Registry table
// marks an expandable value with "#%" and a binary one with "#x".
std::string AsRegedit(const Row& row) {
    if (row.Type == "string") return row.Value.rfind('#', 0) == 0 ? "(a string read as a typed value)" : RegQuoted(row.Value);
    const std::string mark = row.Type == "expandable" ? "#%" : "#x";
    if (row.Value.rfind(mark, 0) != 0) return "(" + row.Type + " without its " + mark + ")";
    const std::string data = row.Value.substr(2);
    if (row.Type == "expandable") return RegExpandString(data);
    std::vector<uint8_t> bytes;
    for (size_t i = 0; i + 1 < data.size(); i += 2) bytes.push_back(std::stoi(data.substr(i, 2), nullptr, 16));
    return RegHex(bytes.data(), bytes.size());
}

// key -> value name ("@" for the default) -> data, of the register.reg text.
std::map<std::string, std::map<std::string, std::string>> RegisteredValues() {
    std::map<std::string, std::map<std::string, std::string>> values;
    const std::string text = RegistrationText();
    std::string key;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        const std::string line = text.substr(start, end - start);
        if (line.empty() || line == "REGEDIT4") continue;
        if (line.front() == '[') {
            key = line.substr(1, line.size() - 2);
        } else if (line.rfind("@=", 0) == 0) {
            values[key]["@"] = line.substr(2);
        } else {
            const size_t eq = line.find("\"=");
            values[key][line.substr(1, eq - 1)] = line.substr(eq + 2);
        }
    }
    return values;
}

TEST(WixRegistration, WritesExactlyTheValuesOfTheRegistrationFile) {
    std::map<std::string, std::map<std::string, std::string>> fromWix;
    for (const std::string& include :
         {WixClassInclude(kForceDriverClass), WixClassInclude(kPropertySheetClass), WixEffectListInclude()}) {
        const std::vector<Row> rows = Rows(include);
        EXPECT_EQ(rows.size(), static_cast<size_t>(std::count(include.begin(), include.end(), '\n')) - 4)
            << "every line between the include's own is one row:\n" << include;
        for (const Row& row : rows) {
            auto& named = fromWix[kMachine + row.Key][row.Name.empty() ? "@" : row.Name];
            EXPECT_TRUE(named.empty()) << row.Key << " " << row.Name << " is written twice";
            named = AsRegedit(row);
        }
    }
    EXPECT_EQ(fromWix, RegisteredValues());
}

}  // namespace
