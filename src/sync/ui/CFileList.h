#pragma once

#include <QTreeWidget>

#include <vector>

namespace pondrel {

// One row of a file list: its cells in column order, its picture (a FileIcon, -1 for none) and
// the key that names the row across refreshes (a file name; empty for a row that names no file,
// which spans the list and cannot be chosen).
struct FileListRow {
    QStringList cells;
    int icon = -1;
    QString key;
};

// A list of the server page (the handheld's files, the server's active or archived files): one
// chosen row at a time, small font, 16 x 16 pictures, horizontal scrolling.
class CFileList final : public QTreeWidget {
public:
    // `widths` gives the column widths in pixels, one per heading.
    CFileList(const QString& objectName, const QStringList& headings, const std::vector<int>& widths,
              QWidget* parent = nullptr);

    // Shows `rows` in order. The chosen row stays chosen when a row with its key is still there;
    // otherwise none is.
    void ShowRows(const std::vector<FileListRow>& rows);
    // The key of the chosen row, empty for none.
    QString ChosenKey() const;
    // Offline the list is drawn in the pale blue of a list that may be out of date.
    void SetOnlineLook(bool online);
};

}  // namespace pondrel
