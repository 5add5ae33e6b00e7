// SPDX-FileCopyrightText: 2026 The Ruvo developers
// SPDX-License-Identifier: GPL-3.0-or-later

// ruvo_artgen: draws every picture of the program and synthesizes its page sound.
//
// Its output is committed under resources/; the build never runs it and builds it only when
// asked to. After changing a drawing, build and re-run it from the repository root, then look
// at the previews:
//
//     cmake -S . -B build-x -G Ninja -DRUVO_ARTGEN=ON
//     cmake --build build-x --target ruvo_artgen
//     build-x/tools/ruvo_artgen resources [--preview /tmp/ruvo-preview]
//
// The output is the same byte for byte on every run: no clock, no random seed, fonts only
// "Liberation Sans".

#include "aboutart.h"
#include "cursorart.h"
#include "dibwriter.h"
#include "iconart.h"
#include "pageart.h"
#include "papersound.h"
#include "quantizer.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

using namespace ruvo::artgen;

namespace {

QString g_outDir;
QString g_previewDir;
bool g_failed = false;

void writeFile(const QString &relative, const QByteArray &bytes)
{
    const QString path = g_outDir + QLatin1Char('/') + relative;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        std::fprintf(stderr, "ruvo_artgen: cannot write %s\n", qPrintable(path));
        g_failed = true;
    }
}

void preview(const QString &name, const QImage &image, int zoom = 1)
{
    if (g_previewDir.isEmpty())
        return;
    QDir().mkpath(g_previewDir);
    const QImage shown = zoom == 1 ? image : image.scaled(image.size() * zoom);
    shown.save(g_previewDir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// Lays frames side by side, for looking at an animation at once.
QImage filmStrip(const QList<QImage> &frames, int perRow)
{
    const QSize cell = frames.first().size() + QSize(2, 2);
    const int rows = (int(frames.size()) + perRow - 1) / perRow;
    QImage strip(cell.width() * perRow, cell.height() * rows, QImage::Format_RGB32);
    strip.fill(QColor(0xdd, 0xdd, 0xdd));
    QPainter p(&strip);
    for (int i = 0; i < frames.size(); ++i)
        p.drawImage((i % perRow) * cell.width() + 1, (i / perRow) * cell.height() + 1,
                    frames.at(i).convertToFormat(QImage::Format_RGB32));
    return strip;
}

// Icons in a row, each on a light and on a dark desktop, every pixel shown zoom times.
QImage themeIconSheet(const QList<QImage> &icons, int zoom)
{
    int width = 8, height = 0;
    for (const QImage &icon : icons) {
        width += icon.width() * zoom + 8;
        height = std::max(height, icon.height() * zoom + 16);
    }
    QImage sheet(width, 2 * height, QImage::Format_RGB32);
    QPainter p(&sheet);
    p.fillRect(0, 0, width, height, QColor(0xf0, 0xf0, 0xf0));
    p.fillRect(0, height, width, height, QColor(0x30, 0x34, 0x38));
    int x = 8;
    for (const QImage &icon : icons) {
        const QImage shown = icon.scaled(icon.size() * zoom);
        p.drawImage(x, 8, shown);
        p.drawImage(x, height + 8, shown);
        x += shown.width() + 8;
    }
    return sheet;
}

void writePage()
{
    const QImage page = paintPageSpread();
    writeFile(QStringLiteral("bitmaps/MAINBACKGROUND.bmp"), encodeBmp24(page));
    const QList<QRgb> palette = medianCutPalette({page}, 256, {qRgb(255, 255, 255), qRgb(0, 0, 0)});
    const QImage indexed = toIndexed(page, palette, true);
    writeFile(QStringLiteral("bitmaps/CALENDARPAD_.bmp"), encodeBmpIndexed(indexed, 8));
    preview(QStringLiteral("page24"), page);
    preview(QStringLiteral("page8"), indexed);
    preview(QStringLiteral("page8-zoom"), indexed, 3);
    preview(QStringLiteral("mockup"), paintPageMockup(indexed));
    preview(QStringLiteral("detail-left-corner"), indexed.copy(0, 230, 70, 48), 6);
    preview(QStringLiteral("detail-right-corner"), indexed.copy(317, 230, 70, 48), 6);
    preview(QStringLiteral("detail-binding"), indexed.copy(160, 0, 70, 48), 6);
    preview(QStringLiteral("detail-ribbon"), indexed.copy(160, 230, 70, 48), 6);
    preview(QStringLiteral("detail-hours"), paintPageMockup(indexed).copy(205, 0, 182, 70), 4);
    preview(QStringLiteral("mockup-zoom"), paintPageMockup(indexed), 2);
}

void writeCursors()
{
    QString hotSpots;
    QTextStream list(&hotSpots);
    QList<QImage> shown;
    for (const HandCursor &cursor : paintHandCursors()) {
        writeFile(QStringLiteral("cursors/%1.bmp").arg(cursor.name),
                  encodeBmpIndexed(cursor.image, 1));
        writeFile(QStringLiteral("cursors/%1_mask.bmp").arg(cursor.name),
                  encodeBmpIndexed(cursor.mask, 1));
        list << cursor.name << ' ' << cursor.hotSpot.x() << ' ' << cursor.hotSpot.y() << '\n';
        // Transparent parts in grey, the hot spot in red.
        QImage look = cursor.image.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                if (cursor.mask.pixelIndex(x, y) == 1)
                    look.setPixel(x, y, qRgb(0x9a, 0xb0, 0xc8));
        look.setPixel(cursor.hotSpot, qRgb(255, 0, 0));
        shown.append(look.scaled(128, 128));
    }
    list.flush();
    writeFile(QStringLiteral("cursors/hotspots.txt"), hotSpots.toLatin1());
    preview(QStringLiteral("cursors"), filmStrip(shown, 3));
}

void writeIcon()
{
    const QImage icon = paintProgramIcon();
    const QByteArray ico = encodeProgramIcon(icon);
    writeFile(QStringLiteral("icons/MAINICON.ico"), ico);
    QImage decoded;
    decoded.loadFromData(ico, "ICO");
    if (!decoded.isNull())
        preview(QStringLiteral("icon"), decoded, 6);

    QList<QImage> small, large;
    for (const int size : kThemeIconSizes) {
        const QImage themeIcon = paintThemeIcon(size);
        writeFile(QStringLiteral("icons/hicolor/%1x%1/apps/org.example.Ruvo.png").arg(size),
                  encodePng(themeIcon));
        (size <= 32 ? small : large).append(themeIcon);
    }
    preview(QStringLiteral("theme-icons-small"), themeIconSheet(small, 6));
    preview(QStringLiteral("theme-icons"), themeIconSheet(large, 1));
}

void writeAnimation(const QString &folder, const QList<QImage> &frames, int perRow)
{
    // One palette for all frames, so colours do not flicker from one frame to the next.
    const QList<QRgb> palette = medianCutPalette(frames, 256, {qRgb(255, 255, 255), qRgb(0, 0, 0)});
    QList<QImage> indexed;
    for (int i = 0; i < frames.size(); ++i) {
        indexed.append(toIndexed(frames.at(i), palette, false));
        writeFile(QStringLiteral("about/%1/IMAGE%2.BMP").arg(folder).arg(i + 1),
                  encodeBmpIndexed(indexed.last(), 8));
    }
    preview(folder, filmStrip(indexed, perRow).scaled(filmStrip(indexed, perRow).size() * 3));
}

} // namespace

int main(int argc, char **argv)
{
    // Fonts need a GUI application; no screen is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2 && !(args.size() == 4 && args.at(2) == QLatin1String("--preview"))) {
        std::fprintf(stderr, "usage: ruvo_artgen <resources folder> [--preview <folder>]\n");
        return 2;
    }
    g_outDir = args.at(1);
    if (args.size() == 4)
        g_previewDir = args.at(3);

    writePage();
    writeCursors();
    writeIcon();
    writeAnimation(QStringLiteral("anim2"), paintGlobeFrames(), 6);
    writeAnimation(QStringLiteral("anim17"), paintFlipFrames(), 9);
    const QImage banner = paintCloseBanner();
    writeFile(QStringLiteral("about/tf2.bmp"), encodeBmp24(banner));
    preview(QStringLiteral("tf2"), banner, 3);
    writeFile(QStringLiteral("sounds/paper.wav"), synthesizePaperSound());
    return g_failed ? 1 : 0;
}
