#include <gtest/gtest.h>

#include "MemoryFileSystem.h"
#include "documents/ModelFiller.h"
#include "documents/RtfFormat.h"
#include "platform/Text.h"

namespace pondrel::test {
namespace {

TEST(ModelFillerTest, PlaceholdersTakeEscapedValuesAndMarkersBecomeBackslashes) {
    MemoryFileSystem files;
    // "¬b XX1XX¬par " with the backslash stored as 0xAC, and a real backslash that stays.
    files.AddFile(u"\\PrintModel.pdt",
                  "{\xac"
                  "b XX1XX\xac"
                  "par \\'e9}");
    std::optional<std::u16string> model = ReadModel(files, u"\\PrintModel.pdt", kModelReadBytes);
    ASSERT_TRUE(model);
    const ModelValue values[] = {{u"XX1XX", RtfMarkup(u"{Doe}")}};
    std::optional<std::string> bytes = ModelDocumentBytes(FillModel(*model, values));
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, "{\\b \\u123\\'3f\\u68\\'3f\\u111\\'3f\\u101\\'3f\\u125\\'3f\\par \\'e9}");
    EXPECT_FALSE(ReadModel(files, u"\\Missing.pdt", kModelReadBytes));
}

TEST(ModelFillerTest, RowModelsAreReadWithinTheirLimit) {
    MemoryFileSystem files;
    files.AddFile(u"\\AddTable1.pdt", std::string(20'000, 'x'));
    EXPECT_EQ(ReadModel(files, u"\\AddTable1.pdt", kRowModelReadBytes)->size(), 15'000u);
}

TEST(ModelFillerTest, ADocumentOfFiveHundredThousandAndOneCharactersIsNotWritten) {
    EXPECT_TRUE(ModelDocumentBytes(std::u16string(kModelDocumentLimit - 1, u'x')));
    EXPECT_FALSE(ModelDocumentBytes(std::u16string(kModelDocumentLimit, u'x')));
}

}  // namespace
}  // namespace pondrel::test
