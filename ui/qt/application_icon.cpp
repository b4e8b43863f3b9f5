#include "ui/qt/application_icon.h"

#include "resources/icon_images.h"

namespace ofu::ui {
namespace {

QPixmap Decode(const IconImage& image) {
    QPixmap pixmap;
    pixmap.loadFromData(image.png.data(), static_cast<uint>(image.png.size()), "PNG");
    return pixmap;
}

}  // namespace

QIcon LoadIcon(int iconId) {
    QIcon icon;
    for (const IconImage& image : FindIconImages(iconId)) icon.addPixmap(Decode(image));
    return icon;
}

QPixmap LoadIconPixmap(int iconId, int size) {
    for (const IconImage& image : FindIconImages(iconId)) {
        if (image.size >= size) {
            const QPixmap pixmap = Decode(image);
            if (image.size == size) return pixmap;
            return pixmap.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        }
    }
    return {};
}

}  // namespace ofu::ui
