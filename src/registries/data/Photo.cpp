#include "registries/data/Photo.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>

namespace korven::registries {

QString photoFolder(const QString& programDir) {
    return QDir(programDir).filePath(photo::folderName);
}

QString photoToShow(const QString& foto, const QString& programDir, const QString& missingDir) {
    const QString path = foto.trimmed();
    if (!path.isEmpty()) {
        QFileInfo info(path);
        if (info.isRelative()) info = QFileInfo(QDir(programDir), path);
        if (info.isFile()) return info.absoluteFilePath();
    }
    return QDir(missingDir.isEmpty() ? programDir : missingDir).filePath(photo::missingPicture);
}

PhotoChoice choosePhoto(const QString& chosenFile, const QString& programDir) {
    PhotoChoice c;
    QFileInfo info(chosenFile);
    QImageReader reader(chosenFile);
    if (!info.isFile() || !reader.canRead()) {
        c.message = photo::notAPictureMessage;
        return c;
    }
    QString path = info.absoluteFilePath();
    const QString base = QDir(programDir).absolutePath();
    if (!programDir.isEmpty() && path.startsWith(base + QLatin1Char('/')))
        path = QDir(base).relativeFilePath(path);
    c.ok = true;
    c.cut = path.size() > photo::pathWidth;
    c.stored = path.left(photo::pathWidth);
    return c;
}

namespace {

// A side view of a fire engine in the given body colour; `ladder` adds a ladder on the roof.
QImage drawVehicle(QColor body, bool ladder, int variant) {
    QImage img(160, 120, QImage::Format_RGB32);
    img.fill(QColor(200, 225, 245));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(0, 92, 160, 28, QColor(90, 90, 90));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    const int length = 90 + 8 * (variant % 3);
    p.drawRect(12, 48, length, 40);
    p.drawRoundedRect(12 + length, 56, 34, 32, 6, 6);
    p.setBrush(QColor(170, 210, 235));
    p.drawRect(20 + length, 60, 20, 12);
    p.setBrush(QColor(235, 235, 235));
    for (int x = 20; x < 12 + length - 14; x += 22)
        p.drawRect(x, 56, 16, 20);
    if (ladder) {
        p.setPen(QPen(QColor(70, 70, 70), 2));
        p.drawLine(16, 42, 8 + length, 42);
        p.drawLine(16, 46, 8 + length, 46);
        for (int x = 18; x < length; x += 8)
            p.drawLine(x, 42, x, 46);
        p.setPen(Qt::NoPen);
    }
    p.setBrush(QColor(30, 30, 30));
    for (int x : {30, 12 + length - 18, 12 + length + 18})
        p.drawEllipse(QPoint(x, 90), 10, 10);
    p.setBrush(QColor(40, 90, 220));
    p.drawRect(14 + length, 50, 10, 5);
    return img;
}

// A portable pump or generator on its frame.
QImage drawMachine(QColor body, int variant) {
    QImage img(160, 120, QImage::Format_RGB32);
    img.fill(QColor(235, 235, 225));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 60), 4));
    p.setBrush(Qt::NoBrush);
    p.drawRect(30, 30, 100, 70);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(42, 44, 56, 46, 8, 8);
    p.setBrush(QColor(50, 50, 50));
    p.drawEllipse(QPoint(112, 66), 12 + variant % 3, 12 + variant % 3);
    p.setBrush(QColor(200, 200, 200));
    p.drawRect(50, 36, 40, 8);
    return img;
}

} // namespace

QStringList fillDemoPhotos(db::Attachment& attachment, const QString& programDir) {
    QDir dir(photoFolder(programDir));
    if (!dir.exists()) QDir().mkpath(dir.path());
    const bool jpeg = QImageWriter::supportedImageFormats().contains("jpg");
    const QString ext = jpeg ? QStringLiteral("jpg") : QStringLiteral("bmp");

    struct Picture {
        const char* table;
        const char* key;
        int code;
        QImage image;
        const char* file;
    };
    const Picture pictures[] = {
        {"A_AUTO", "KODA", 1, drawVehicle(QColor(200, 20, 20), false, 0), "gba_man"},
        {"A_AUTO", "KODA", 2, drawVehicle(QColor(190, 25, 25), false, 1), "gcba_scania"},
        {"A_AUTO", "KODA", 7, drawVehicle(QColor(205, 30, 20), true, 2), "sd30_magirus"},
        {"A_AUTO", "KODA", 9, drawVehicle(QColor(230, 230, 235), false, 0), "slop_skoda"},
        {"A_SPRZET", "KODS", 1, drawMachine(QColor(210, 40, 30), 0), "motopompa_m8"},
        {"A_SPRZET", "KODS", 5, drawMachine(QColor(220, 200, 30), 1), "agregat_35"},
    };

    QStringList written;
    db::Transaction t(attachment);
    db::inTransaction(t, [&](db::Transaction& tr) {
        for (const Picture& pic : pictures) {
            const QString name = QString::fromLatin1(pic.file) + QLatin1Char('.') + ext;
            const QString file = dir.filePath(name);
            if (!pic.image.save(file, jpeg ? "JPG" : "BMP", 85)) continue;
            written << file;
            const QString stored = photo::folderName + QLatin1Char('/') + name;
            tr.execute(QStringLiteral("update %1 set FOTO = :FOTO where %2 = :CODE")
                           .arg(QString::fromLatin1(pic.table), QString::fromLatin1(pic.key)),
                       {{"FOTO", stored}, {"CODE", pic.code}});
        }
    });
    return written;
}

} // namespace korven::registries
