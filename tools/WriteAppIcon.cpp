// Writes the program's icon, as drawn in code, into a Windows icon file for the executable's
// resources (app/mp3tunestead.ico): one PNG image for each size the icon has.
//   write_app_icon <icon file>
#include "app/AppIcon.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QPixmap>

#include <cstdio>
#include <vector>

namespace {

void AppendLittleEndian(QByteArray& bytes, unsigned value, int width) {
    for (int i = 0; i < width; ++i)
        bytes.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

QByteArray Png(const QPixmap& pixmap) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    pixmap.save(&buffer, "PNG");
    return png;
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fputs("usage: write_app_icon <icon file>\n", stderr);
        return 2;
    }
    const QIcon icon = ApplicationIcon();
    std::vector<std::pair<int, QByteArray>> images;
    for (const QSize& size : icon.availableSizes())
        images.emplace_back(size.width(), Png(icon.pixmap(size)));

    // The icon directory: a header, one entry per image, then the images.
    QByteArray file;
    AppendLittleEndian(file, 0, 2);
    AppendLittleEndian(file, 1, 2);
    AppendLittleEndian(file, static_cast<unsigned>(images.size()), 2);
    unsigned offset = 6 + 16 * static_cast<unsigned>(images.size());
    for (const auto& [size, png] : images) {
        AppendLittleEndian(file, static_cast<unsigned>(size % 256), 1);
        AppendLittleEndian(file, static_cast<unsigned>(size % 256), 1);
        AppendLittleEndian(file, 0, 2);
        AppendLittleEndian(file, 1, 2);
        AppendLittleEndian(file, 32, 2);
        AppendLittleEndian(file, static_cast<unsigned>(png.size()), 4);
        AppendLittleEndian(file, offset, 4);
        offset += static_cast<unsigned>(png.size());
    }
    for (const auto& image : images)
        file.append(image.second);

    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly) || out.write(file) != file.size()) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
