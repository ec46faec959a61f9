#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sync/FrameEndWatch.h"
#include "sync/FrameKind.h"
#include "sync/FrameSplitter.h"
#include "sync/WireCodec.h"
#include "sync/WireDateTime.h"

namespace pondrel {
namespace {

const std::u16string kTwoFrames =
    u"#S!#Anna|Bruno|#F|Hello \u00E9\u20AC\U0001F600\u00A77.3.2006-09:05:00\u00A65|1230\u00A2"
    u"Anna\u00A2#F|";

std::vector<std::u16string> SplitAll(FrameSplitter& splitter) {
    std::vector<std::u16string> frames;
    while (auto frame = splitter.Next()) frames.push_back(*frame);
    return frames;
}

TEST(WireCodecTest, HighByteFirstAndBackAtEverySplitOfTheBytes) {
    // Any 16-bit unit travels, a lone surrogate too.
    std::u16string text = u"A\u00A2\u00FF\u0100\uFFFF\U0001F600#F|";
    text += static_cast<char16_t>(0xDC00);
    std::string bytes = EncodeWire(text);
    ASSERT_EQ(bytes.size(), 2 * text.size());
    EXPECT_EQ(bytes.substr(0, 4), std::string("\x00\x41\x00\xA2", 4));
    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        // Two receives, the first perhaps ending in the middle of a character.
        WireDecoder decoder;
        std::u16string back = decoder.Feed(bytes.substr(0, cut));
        EXPECT_EQ(decoder.HasHalfCharacter(), cut % 2 == 1);
        back += decoder.Feed(bytes.substr(cut));
        EXPECT_EQ(back, text) << "cut at " << cut;
    }
    // One byte at a time.
    WireDecoder decoder;
    std::u16string back;
    for (char b : bytes) decoder.Feed(std::string_view(&b, 1), back);
    EXPECT_EQ(back, text);
}

TEST(WireCodecTest, OnlyTheZeroCharacterIsDropped) {
    std::string bytes = EncodeWire(u"ab");
    bytes += std::string("\0\0", 2);
    bytes += EncodeWire(u"cd#F|");
    WireDecoder decoder;
    EXPECT_EQ(decoder.Feed(bytes), u"abcd#F|");
}

TEST(FrameSplitterTest, FramesSplitAtEveryPositionComeOutOnceAndWhole) {
    std::vector<std::u16string> expected = {
        u"#S!#Anna|Bruno|",
        u"Hello \u00E9\u20AC\U0001F600\u00A77.3.2006-09:05:00\u00A65|1230\u00A2Anna\u00A2"};
    for (size_t cut = 0; cut <= kTwoFrames.size(); ++cut) {
        FrameSplitter splitter;
        ASSERT_TRUE(splitter.Append(kTwoFrames.substr(0, cut)));
        std::vector<std::u16string> frames = SplitAll(splitter);
        ASSERT_TRUE(splitter.Append(kTwoFrames.substr(cut)));
        for (auto& frame : SplitAll(splitter)) frames.push_back(frame);
        EXPECT_EQ(frames, expected) << "cut at " << cut;
        EXPECT_EQ(splitter.PendingChars(), 0u);
    }
}

TEST(FrameSplitterTest, EmptyFramesAndAStartWaitingForItsEnd) {
    FrameSplitter splitter;
    splitter.Append(u"#F|#F|#K!#");
    EXPECT_EQ(SplitAll(splitter), (std::vector<std::u16string>{u"", u""}));
    EXPECT_EQ(splitter.PendingChars(), 4u);
    splitter.Append(u"#F");
    EXPECT_FALSE(splitter.Next());
    splitter.Append(u"|");
    EXPECT_EQ(splitter.Next(), u"#K!#");
}

TEST(FrameSplitterTest, AFrameBeyondTheLimitIsRefusedWhateverTheCut) {
    FrameSplitter unended(10);
    EXPECT_TRUE(unended.Append(u"0123456789"));
    EXPECT_FALSE(unended.Append(u"A"));
    EXPECT_TRUE(unended.Overflowed());
    EXPECT_FALSE(unended.Next());

    // Ended in the same text, but too long all the same; the frame before it still comes out.
    FrameSplitter ended(10);
    EXPECT_TRUE(ended.Append(u"short#F|0123456789AB#F|"));
    EXPECT_EQ(ended.Next(), u"short");
    EXPECT_FALSE(ended.Next());
    EXPECT_TRUE(ended.Overflowed());

    // Exactly at the limit is accepted.
    FrameSplitter exact(10);
    EXPECT_TRUE(exact.Append(u"0123456789#F|"));
    EXPECT_EQ(exact.Next(), u"0123456789");
}

TEST(FrameEndWatchTest, CountsEndsSplitAcrossReceivesAndTheTail) {
    FrameEndWatch watch;
    EXPECT_EQ(watch.Feed(u"abc#"), 0u);
    EXPECT_EQ(watch.Feed(u"F"), 0u);
    EXPECT_EQ(watch.Feed(u"|x#F|##F|yz"), 3u);
    EXPECT_EQ(watch.TailLength(), 2u);
    EXPECT_EQ(watch.Feed(u"#F#F|"), 1u);
}

TEST(FrameKindTest, TheStartDecidesAndFilesComeFirst) {
    FrameView file = ClassifyFrame(u"\u00A2File\u00A2#N!#text\u00A7Code\u00A74\u00A2a.pdr");
    EXPECT_EQ(file.kind, FrameKind::File);
    EXPECT_EQ(file.payload.substr(0, 4), u"#N!#");

    FrameView chat = ClassifyFrame(u"#A!#<Anna> : see #N!# and L!#");
    EXPECT_EQ(chat.kind, FrameKind::Code);
    EXPECT_EQ(chat.code, u'A');
    EXPECT_EQ(chat.payload, u"<Anna> : see #N!# and L!#");

    FrameView reports = ClassifyFrame(u"#C!#S\u00A61|2/#S!#x|");
    EXPECT_EQ(reports.code, u'C');

    EXPECT_EQ(ClassifyFrame(u"").kind, FrameKind::Code);
    EXPECT_EQ(ClassifyFrame(u"").code, 0);
    EXPECT_EQ(ClassifyFrame(u"Lunch L!# today\u00A7").kind, FrameKind::Mail);
    EXPECT_EQ(ClassifyFrame(u"#n!#").kind, FrameKind::Mail);
    EXPECT_EQ(CodeFrame(u'Z', u"1b"), u"#Z!#1b");
}

TEST(WireDateTimeTest, DateWithoutZerosTimePadded) {
    DateTime when{2006, 3, 7, 9, 5, 0};
    EXPECT_EQ(WireDate(when), u"7.3.2006");
    EXPECT_EQ(WireTime(when), u"09:05:00");
}

}  // namespace
}  // namespace pondrel
