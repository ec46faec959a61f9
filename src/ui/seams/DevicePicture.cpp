#include "ui/seams/DevicePicture.h"

#include <QImage>

#include <string>

#include "platform/DeviceFileSystem.h"

namespace pondrel {

bool LoadDevicePicture(DeviceFileSystem& files, std::u16string_view path, QImage& image) {
    image = QImage();
    std::optional<uint64_t> size = files.FileSize(path);
    if (!size || *size > kMaxPictureBytes) return false;
    std::string bytes;
    if (!files.ReadFile(path, kMaxPictureBytes, bytes)) return false;
    image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                       static_cast<int>(bytes.size()));
    return !image.isNull();
}

}  // namespace pondrel
