#pragma once

#include <array>
#include <functional>

#include <QIcon>
#include <QWidget>

#include "sync/MailBoxes.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace pondrel {

class CConnectButtons;

// Page 32, "Mail manager": the user name the program logs in with, the Connect and Close
// buttons, the Inbox / Outbox / Sent Items choice, the mail list of the chosen box, its commands
// (Reply, Resend or Forward by box; Delete; Delete all) and the reading box. A tap on a row
// opens the mail. The mailboxes do the work and say what went wrong; the page shows their
// state, and each list keeps its selected mail across refreshes while the mail is there.
class CMailManagerPage final : public QWidget {
public:
    // The visible widths of the eleven columns; 0 = hidden.
    static constexpr std::array<int, kMailColumns> kColumnWidths = {60, 0,  110, 67, 67, 0,
                                                                    75, 75, 55,  60, 110};

    // `mail` must outlive the page.
    CMailManagerPage(const QString& title, MailBoxes& mail, QWidget* parent = nullptr);

    CConnectButtons* Buttons() const { return m_buttons; }
    // "User name : " + the user name.
    void SetUserName(const QString& userName);
    // Shows the three boxes as the mailboxes hold them now.
    void Refresh();
    void SetOnline(bool online);
    // Reply and Forward hand the mail's text to this (the send page takes it).
    void SetComposeHandler(std::function<void(const QString&)> compose) {
        m_compose = std::move(compose);
    }

    MailBox ShownBox() const { return m_box; }
    void ShowBox(MailBox box);
    // The selected row of the shown box, -1 for none.
    int SelectedRow() const;

private:
    QTreeWidget* List(MailBox box) const { return m_lists[static_cast<size_t>(box)]; }
    void RefreshList(MailBox box);
    void RowTapped(QTreeWidgetItem* item);
    void Answer();
    void DeleteOne();
    void DeleteAll();
    void ShowReading(const std::u16string& text);

    MailBoxes& m_mail;
    MailBox m_box = MailBox::Inbox;
    std::function<void(const QString&)> m_compose;
    QLabel* m_userName;
    CConnectButtons* m_buttons;
    std::array<QRadioButton*, 3> m_choices{};
    QStackedWidget* m_stack;
    std::array<QTreeWidget*, 3> m_lists{};
    QPushButton* m_answer;
    QPlainTextEdit* m_reading;
    std::array<QIcon, 6> m_icons;  // by MailIcon
};

}  // namespace pondrel
