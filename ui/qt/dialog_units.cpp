#include "ui/qt/dialog_units.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QString>

namespace ofu::ui {

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const long long product = static_cast<long long>(a) * b;
    const long long half = (c > 0 ? c : -c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const long long magnitude = ((product < 0 ? -product : product) + half) / (c > 0 ? c : -c);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

DialogUnits DialogUnits::FromFont(const QFont& font) {
    const QFontMetrics metrics(font);
    const int alphabet =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    DialogUnits units;
    units.baseX = (alphabet / 26 + 1) / 2;
    units.baseY = metrics.height();
    return units;
}

QRect DialogUnits::Map(const DialogRect& rect) const {
    const int left = X(rect.x);
    const int top = Y(rect.y);
    const int right = X(rect.x + rect.width);
    const int bottom = Y(rect.y + rect.height);
    return QRect(left, top, right - left, bottom - top);
}

QFont DialogFont(std::string_view face, int points) {
    int dpi = 96;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        dpi = static_cast<int>(screen->logicalDotsPerInchY() + 0.5);
    }
    QFont font(QString::fromUtf8(face.data(), static_cast<qsizetype>(face.size())));
    font.setPixelSize(MulDiv(points, dpi, 72));
    return font;
}

}  // namespace ofu::ui
