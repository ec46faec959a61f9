#pragma once

#include <string>
#include <vector>

#include <QDialog>
#include <QImage>

#include "records/FilesHold.h"
#include "records/PlaceEditors.h"

class QLineEdit;
class QListWidget;
class QTreeWidget;

namespace pondrel {

class DeviceFileSystem;
class FileDialogs;
class UserMessages;

// The rooms editor ("Edit" beside "Room N°"): the rooms of "\Default rooms.roo" sorted by rank
// in the columns "Icon", "Room N°", "Icon number", "Rank" and "Department", a room box, a
// location box filled from the location list by "Select", the 24 icons, and Add, Delete, Up,
// Down, Load, Save As, OK and Cancel. OK writes the rows into the rooms file, unless the file
// changed on disk meanwhile. A rooms file the program refuses (too big, too many rooms) is
// never replaced without the user's consent. The caller holds the files while the dialogue is
// open. Every reference must outlive the dialogue.
class CRoomsEditorDlg final : public QDialog {
    Q_OBJECT
public:
    struct Services {
        DeviceFileSystem& files;
        FileDialogs& dialogs;
        UserMessages& messages;
    };

    // `roomsPath` is the device path of the rooms file; `locations` the department's locations;
    // `icons` the strip of the 24 patient icons (may be empty).
    CRoomsEditorDlg(Services services, std::u16string roomsPath,
                    std::vector<std::u16string> locations, const QImage& icons,
                    QWidget* parent = nullptr);

    const std::vector<Room>& Rooms() const { return m_editing.Rooms(); }

    void Add();
    void Delete();
    void Up();
    void Down();
    void Load();
    void SaveAs();
    void ToggleLocationChoices();
    // OK: the rows into the rooms file; the dialogue closes when they were written.
    void WriteAndClose();

private:
    void Fill();
    void ShowSelected();
    void Select(int row);
    QIcon IconOf(int icon) const;

    Services m_services;
    std::u16string m_path;
    FileAsRead m_asRead;
    bool m_refused = false;  // the rooms file was not read (over the limits)
    std::vector<std::u16string> m_locations;
    QImage m_icons;
    RoomsEditing m_editing;
    QTreeWidget* m_table;
    QLineEdit* m_name;
    QLineEdit* m_location;
    QListWidget* m_locationChoices;
    QListWidget* m_iconList;
};

}  // namespace pondrel
