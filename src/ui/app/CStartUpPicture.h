#pragma once

#include <QImage>
#include <QWidget>

namespace pondrel {

class DeviceFileSystem;
struct WorkingFolders;

// The start-up picture: a window without frame, the size of the handheld screen, showing
// "HelloBitmap.jpg" of the installation folder while the main form starts. Without the picture
// it shows the program's name on a plain background.
class CStartUpPicture final : public QWidget {
public:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 320;

    CStartUpPicture(DeviceFileSystem& files, const WorkingFolders& folders,
                    QWidget* parent = nullptr);

    bool HasPicture() const { return !m_picture.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_picture;
};

}  // namespace pondrel
