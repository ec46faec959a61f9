#include <gtest/gtest.h>

#include "sync/FriendsList.h"

namespace pondrel {
namespace {

std::vector<std::u16string> Names(const FriendsList& friends) {
    std::vector<std::u16string> names;
    for (const Friend& f : friends.Rows()) names.push_back(f.name);
    return names;
}

TEST(FriendsListTest, OnlineUsersAreAddedOnTopAndMatchedExactly) {
    FriendsList friends;
    friends.SetText(u"Anna|Bruno|Anna|Me Myself|bad\u00A2name|x|", u"Me Myself");
    EXPECT_EQ(Names(friends), (std::vector<std::u16string>{u"Anna", u"Bruno"}));
    // "Ann" is in "Anna" and "Bruno2" holds "Bruno": neither makes the other online.
    auto added =
        friends.UpdateOnline({u"Anna2", u"Bruno", u"Me Myself", u"Eve|", u"Carla"}, u"Me Myself");
    EXPECT_EQ(added, (std::vector<std::u16string>{u"Anna2", u"Carla"}));
    EXPECT_EQ(Names(friends), (std::vector<std::u16string>{u"Carla", u"Anna2", u"Anna", u"Bruno"}));
    EXPECT_TRUE(friends.IsOnline(u"Anna2"));
    EXPECT_FALSE(friends.IsOnline(u"Anna"));
    EXPECT_TRUE(friends.IsOnline(u"Bruno"));
    EXPECT_EQ(friends.Text(), u"Carla|Anna2|Anna|Bruno|");
    // The connection ended: everybody offline, nobody forgotten.
    EXPECT_TRUE(friends.UpdateOnline({}, u"Me Myself").empty());
    EXPECT_FALSE(friends.IsOnline(u"Bruno"));
    EXPECT_EQ(friends.Rows().size(), 4u);
}

TEST(FriendsListTest, CheckAndRemove) {
    FriendsList friends;
    friends.SetText(u"Anna|Bruno|Carla|", u"");
    friends.SetChecked(1, true);
    friends.SetChecked(9, true);  // no such row: nothing
    EXPECT_EQ(friends.RemoveChecked(), 1u);
    EXPECT_EQ(friends.Text(), u"Anna|Carla|");
    friends.CheckAll(true);
    EXPECT_TRUE(friends.Rows()[0].checked && friends.Rows()[1].checked);
    friends.CheckAll(false);
    EXPECT_EQ(friends.RemoveChecked(), 0u);
}

// A name typed on the send page: never online so far, yet a recipient; it keeps its place when
// its user comes online, and the list still grows from the server's online users.
TEST(FriendsListTest, TypedNamesAreAddedCheckedOnceAndStayWhenOnline) {
    using R = FriendsList::AddResult;
    FriendsList friends;
    friends.SetText(u"Anna|", u"Me Myself");
    EXPECT_EQ(friends.Add(u"Dora", u"Me Myself"), R::Added);
    EXPECT_EQ(friends.Rows()[0], (Friend{u"Dora", true, false}));
    EXPECT_EQ(friends.Add(u"Anna", u"Me Myself"), R::AlreadyListed);
    EXPECT_TRUE(friends.Rows()[1].checked);
    EXPECT_EQ(friends.Add(u"Me Myself", u"Me Myself"), R::OwnName);
    EXPECT_EQ(friends.Add(u"Ann", u"Me Myself"), R::Unusable);
    EXPECT_EQ(friends.Add(u"Eve|Bad", u"Me Myself"), R::Unusable);
    EXPECT_EQ(friends.Add(u" Dora", u"Me Myself"), R::Unusable);
    EXPECT_EQ(friends.Text(), u"Dora|Anna|");
    EXPECT_TRUE(friends.UpdateOnline({u"Dora", u"Bruno"}, u"Me Myself") ==
                std::vector<std::u16string>{u"Bruno"});
    EXPECT_EQ(friends.Text(), u"Bruno|Dora|Anna|");
    EXPECT_TRUE(friends.IsOnline(u"Dora"));
    EXPECT_TRUE(friends.Rows()[1].checked);
}

}  // namespace
}  // namespace pondrel
