#pragma once

#include <QWidget>

class QLabel;
class QLayout;
class QPushButton;
class QRadioButton;

namespace pondrel {

class CConnectButtons;
class CFileList;
class FileExchange;

// Page 33, "Server : Files exchange": the Connect and Close buttons, who is online, and the
// handheld's files (PDA view) or the server's active or archived files (Server view) with their
// commands. Every command is FileExchange's; the page shows its lists and the chosen rows.
class CServerPage final : public QWidget {
public:
    // `files` must outlive the page.
    CServerPage(const QString& title, FileExchange& files, QWidget* parent = nullptr);

    CConnectButtons* Buttons() const { return m_buttons; }
    // "Online : " and the users online, or "Offline".
    void SetOnlineUsers(const QString& text);
    // The lists as FileExchange holds them now; the chosen rows stay chosen where still listed.
    void Refresh();
    // The file commands that need the server are enabled only while online.
    void SetOnline(bool online);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class View { Pda, Server };
    enum class ServerFiles { Active, Archive };

    QWidget* BuildPdaButtons();
    QWidget* BuildServerButtons();
    QPushButton* AddButton(QLayout* row, const char* text, const char* name,
                           void (CServerPage::*command)());
    void ChooseView(View view);
    void ChooseServerFiles(ServerFiles files);
    void UpdateEnabled();
    void RefreshHandheld();
    void RefreshServer();
    void RefreshArchive();

    // Commands: each acts on the chosen row of its list (-1 for none).
    int ChosenHandheldRow() const;
    int ChosenServerRow() const;
    int ChosenArchiveRow() const;
    void Synch();
    void SynchAll();
    void Lock();
    void Unlock();
    void LockAll();
    void UnlockAll();
    void Delete();
    void ImportOne();
    void ImportAll();
    void ClearList();
    void Archivate();
    void Activate();

    FileExchange& m_files;
    bool m_online = false;
    View m_view = View::Pda;
    ServerFiles m_serverFiles = ServerFiles::Active;
    QString m_onlineText;

    CConnectButtons* m_buttons;
    QLabel* m_onlineUsers;
    QRadioButton* m_pdaChoice;
    QRadioButton* m_serverChoice;
    QLabel* m_caption;
    QRadioButton* m_activeChoice;
    QRadioButton* m_archiveChoice;
    CFileList* m_handheld;
    CFileList* m_server;
    CFileList* m_archive;
    QWidget* m_pdaButtons;
    QWidget* m_serverButtons;
    QPushButton* m_synch;
    QPushButton* m_synchAll;
    QPushButton* m_lock;
    QPushButton* m_unlock;
    QPushButton* m_lockAll;
    QPushButton* m_unlockAll;
    QPushButton* m_importOne;
    QPushButton* m_importAll;
    QPushButton* m_archivate;
    QPushButton* m_activate;
};

}  // namespace pondrel
