#pragma once

#include <QDialog>

#include "layout/VectorPictures.h"

class QLineEdit;
class QListWidget;

namespace pondrel {

class UserMessages;

// "Vectorial picture preferences": the ten named pictures of one drawing area with "Add",
// "Delete", "Rename", "Save on", "Cancel" and "OK". Works on the editor's copy of the slots;
// the caller takes Editor().Slots() when the dialogue is accepted. `editor` and `messages` must
// outlive the dialogue.
class CVectorPictureDlg final : public QDialog {
    Q_OBJECT
public:
    CVectorPictureDlg(VectorPictureEditor& editor, UserMessages& messages,
                      QWidget* parent = nullptr);

    VectorPictureEditor& Editor() { return m_editor; }

private:
    void ShowNames();
    void Add();
    void Delete();
    void Rename();
    void SaveOn();

    VectorPictureEditor& m_editor;
    UserMessages& m_messages;
    QLineEdit* m_name = nullptr;
    QListWidget* m_names = nullptr;
};

}  // namespace pondrel
