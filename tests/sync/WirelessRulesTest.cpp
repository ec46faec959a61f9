#include <gtest/gtest.h>

#include "platform/Text.h"
#include "sync/WirelessRules.h"

namespace pondrel {
namespace {

WirelessEdits Valid() {
    return WirelessEdits{u"Anna", u"123456", u"10.0.0.5", u"4000", u""};
}

std::u16string CaptionOf(const WirelessEdits& edits) {
    auto refusal = CheckWirelessEdits(edits);
    return refusal ? refusal->caption : u"";
}

TEST(WirelessRulesTest, UserNameNeedsFourCharactersAndNoSeparator) {
    WirelessEdits edits = Valid();
    edits.userName = u"Ann";
    auto refusal = CheckWirelessEdits(edits);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->text, u"User name is too short. It needs minimum 4 characters");
    EXPECT_EQ(refusal->caption, u"Username too short");
    edits.userName = u"Anna";
    EXPECT_FALSE(CheckWirelessEdits(edits));
    for (std::u16string_view bad : {u"An|na", u"An#na", u"Anna\u00A2", u"An\u00A6na", u"\u00A7Anna",
                                    u"Anna\u00AC", u"Ann\na", u" Anna", u"<Anna>", u"Anna/B"}) {
        edits.userName = bad;
        EXPECT_EQ(CaptionOf(edits), u"Invalid user name") << ToUtf8(bad);
    }
    edits.userName = std::u16string(33, u'a');
    EXPECT_EQ(CaptionOf(edits), u"Invalid user name");
    edits.userName = u"Mr Client";  // a blank inside is fine
    EXPECT_FALSE(CheckWirelessEdits(edits));
}

TEST(WirelessRulesTest, PasswordOfAtMostSixCharactersWithoutSeparator) {
    WirelessEdits edits = Valid();
    edits.password = u"1234567";
    EXPECT_EQ(CaptionOf(edits), u"Invalid password");
    edits.password = u"12|456";
    EXPECT_EQ(CaptionOf(edits), u"Invalid password");
    edits.password = u"";
    EXPECT_FALSE(CheckWirelessEdits(edits));
}

TEST(WirelessRulesTest, ServerAddressAndPort) {
    struct Case {
        std::u16string_view address;
        std::u16string_view port;
        std::u16string_view caption;
    };
    const Case cases[] = {
        {u"192.168.1.10", u"4000", u""},
        {u" 192.168.1.10 ", u" 1", u""},
        {u"sync.ward-7.example.org", u"65535", u""},
        {u"fe80::1", u"4000", u""},
        {u"", u"", u""},  // no server yet
        {u"192.168.1.256", u"4000", u"Invalid server address"},
        {u"10.1.2", u"4000", u"Invalid server address"},
        {u"bad_name", u"4000", u"Invalid server address"},
        {u"-host", u"4000", u"Invalid server address"},
        {u"", u"4000", u"Invalid server address"},
        {u"host", u"", u"Invalid port number"},
        {u"host", u"0", u"Invalid port number"},
        {u"host", u"65536", u"Invalid port number"},
        {u"host", u"40a", u"Invalid port number"},
        {u"host", u"-1", u"Invalid port number"},
    };
    for (const Case& c : cases) {
        WirelessEdits edits = Valid();
        edits.serverAddress = c.address;
        edits.port = c.port;
        EXPECT_EQ(CaptionOf(edits), c.caption) << ToUtf8(c.address) << " " << ToUtf8(c.port);
    }
}

TEST(WirelessRulesTest, EditsAndSettingsAndTheDefaults) {
    WirelessSettings s{u"Anna", u"123456", 3, u"10.0.0.5", 4000};
    EXPECT_EQ(SettingsOf(EditsOf(s)), s);
    EXPECT_EQ(EditsOf(WirelessSettings{}).port, u"");
    WirelessEdits odd = Valid();
    odd.port = u"abc";  // as a value read back, a text without a number gives 0
    EXPECT_EQ(SettingsOf(odd).serverPort, 0);

    WirelessEdits defaults = DefaultWirelessEdits();
    EXPECT_EQ(defaults.userName, u"Mr Client");
    EXPECT_EQ(defaults.port, u"4000");
    EXPECT_TRUE(defaults.password.empty());
    EXPECT_TRUE(IsServerAddress(defaults.serverAddress));
}

TEST(WirelessRulesTest, AdvancedFeaturesOkAndCancel) {
    NetworkOptions options;
    options.connectAtStart = 1;
    {
        AdvancedFeaturesEditor editor(options);
        editor.Options().periodicSynchronisation = 1;
        EXPECT_TRUE(editor.PeriodEnabled());
        editor.Options().synchronisationPeriod = u"";
        editor.Accept();  // ticked without minutes: off
    }
    EXPECT_EQ(options.periodicSynchronisation, 0);
    {
        AdvancedFeaturesEditor editor(options);
        editor.Options().periodicSynchronisation = 1;
        editor.Options().synchronisationPeriod = u"15";
        editor.Accept();
    }
    EXPECT_EQ(options.periodicSynchronisation, 1);
    EXPECT_EQ(options.synchronisationPeriod, u"15");
    NetworkOptions before = options;
    {
        AdvancedFeaturesEditor editor(options);
        editor.Options().connectAtStart = 0;
        editor.Options().importAllAtConnection = 1;
        editor.Cancel();
    }
    EXPECT_EQ(options, before);
}

}  // namespace
}  // namespace pondrel
