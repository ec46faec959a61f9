#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "labels/LabelsFile.h"
#include "layout/FactoryArrangement.h"
#include "mainform/PageNames.h"
#include "platform/Text.h"
#include "settings/Preferences.h"

namespace pondrel::test {
namespace {

std::string ReadFactoryFile(const std::string& name) {
    std::ifstream in(std::string(PONDREL_RESOURCES_DIR) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The text of every heading of the help, tags dropped and "&amp;" read back.
std::vector<std::string> HelpHeadings(const std::string& html) {
    std::vector<std::string> headings;
    static const std::regex heading("<h[1-6]>([\\s\\S]*?)</h[1-6]>");
    static const std::regex tag("<[^>]*>");
    for (std::sregex_iterator it(html.begin(), html.end(), heading), end; it != end; ++it) {
        std::string text = std::regex_replace((*it)[1].str(), tag, "");
        for (size_t at = text.find("&amp;"); at != std::string::npos; at = text.find("&amp;"))
            text.replace(at, 5, "&");
        headings.push_back(text);
    }
    return headings;
}

// Every page the page list of a new installation offers has a section of its own in the help
// the program shows, under the name the page list gives it.
TEST(HelpSectionsTest, EveryPageOfThePageListHasASection) {
    const std::string html = ReadFactoryFile("PondrelHelp.htm");
    ASSERT_FALSE(html.empty()) << "no PondrelHelp.htm in " << PONDREL_RESOURCES_DIR;
    EXPECT_NE(html.find("<a name=\"Main_Contents\">"), std::string::npos);
    const std::vector<std::string> headings = HelpHeadings(html);

    const std::string labelsBytes = ReadFactoryFile("Labels.txt");
    ASSERT_FALSE(labelsBytes.empty());
    const Labels labels = InterpretLabelsBytes(labelsBytes).read.labels;
    Preferences preferences;  // the factory preferences
    const Arrangement arrangement = FactoryArrangement();
    preferences.pages = arrangement.pages;  // the page names and flags of the arrangement

    const auto names = PageNames(labels, preferences);
    int offered = 0;
    for (int page = 0; page < kPageCount; ++page) {
        // A hidden form page is not in the page list.
        if (page < kFormPageCount && page != 0 &&
            preferences.pages[static_cast<size_t>(page)].aFlag == 0) {
            continue;
        }
        ++offered;
        const std::string name = ToUtf8(names[static_cast<size_t>(page)]);
        ASSERT_FALSE(name.empty());
        // The section names the page by its number and its name ("Page 20: Problems").
        const std::string number = "Page " + std::to_string(page);
        bool found = false;
        for (const std::string& heading : headings) {
            const size_t at = heading.find(number);
            const bool numbered =
                at != std::string::npos &&
                (at + number.size() == heading.size() ||
                 !std::isdigit(static_cast<unsigned char>(heading[at + number.size()])));
            if (numbered && heading.find(name) != std::string::npos) found = true;
        }
        EXPECT_TRUE(found) << "no section for page " << page << " \"" << name << "\"";
    }
    EXPECT_GE(offered, 20 + 1);
}

}  // namespace
}  // namespace pondrel::test
