#pragma once

// The friends of the mail page: the users known from the server, newest first, each with its
// check mark (a recipient of the next mail) and whether it is online. Kept in the preferences
// as the friends text, each name followed by "|". Names are compared exactly, and a name that
// could break the preferences or a frame (a separator character) is never taken.

#include <string>
#include <string_view>
#include <vector>

namespace pondrel {

struct Friend {
    std::u16string name;
    bool checked = false;
    bool online = false;
    friend bool operator==(const Friend&, const Friend&) = default;
};

class FriendsList {
public:
    // Replaces the list by the names of a friends text (the own name and unusable names left
    // out, each name once).
    void SetText(std::u16string_view text, std::u16string_view ownName);
    std::u16string Text() const;

    // The users now online (empty when the connection ended): names not known yet are added at
    // the top (the own name never); returns them, in the order added. Every friend's online
    // mark follows the list.
    std::vector<std::u16string> UpdateOnline(const std::vector<std::u16string>& online,
                                             std::u16string_view ownName);

    // What typing a user's name does to the list.
    enum class AddResult { Added, AlreadyListed, OwnName, Unusable };
    // A user typed by name, who may never have been online: added at the top, offline and
    // checked (he is typed to be written to); a friend already listed is only checked. The own
    // name and a name no user can have are refused.
    AddResult Add(std::u16string_view name, std::u16string_view ownName);

    const std::vector<Friend>& Rows() const { return m_rows; }
    bool IsOnline(std::u16string_view name) const;
    void SetChecked(size_t row, bool checked);
    void CheckAll(bool checked);
    // Removes the checked friends; returns how many.
    size_t RemoveChecked();

private:
    bool Contains(std::u16string_view name) const;

    std::vector<Friend> m_rows;
};

}  // namespace pondrel
