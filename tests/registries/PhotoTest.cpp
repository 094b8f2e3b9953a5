#include "registries/data/Photo.h"

#include "schema/Demo.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace korven;
using namespace korven::registries;

namespace {

class Photos : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(photoFolder(program.path())));
        picture = QDir(photoFolder(program.path())).filePath(QStringLiteral("gba.bmp"));
        QImage img(8, 6, QImage::Format_RGB32);
        img.fill(Qt::red);
        ASSERT_TRUE(img.save(picture, "BMP"));
    }
    QTemporaryDir program;
    QString picture;
};

TEST_F(Photos, ShownFileOrTheMissingPicture) {
    const QString missing = QDir(program.path()).filePath(QStringLiteral("brak.bmp"));
    EXPECT_EQ(photoToShow(QStringLiteral("fotogr/gba.bmp "), program.path()), picture);
    EXPECT_EQ(photoToShow(picture, program.path()), picture);
    EXPECT_EQ(photoToShow(QString(), program.path()), missing);
    EXPECT_EQ(photoToShow(QStringLiteral("fotogr/nie_ma.bmp"), program.path()), missing);
    // A path cut by the column names no file any more.
    EXPECT_EQ(photoToShow(picture.left(30), program.path()), missing);
}

TEST_F(Photos, ChoosingStoresAPathThatFitsOrRefusesWhatIsNoPicture) {
    PhotoChoice inside = choosePhoto(picture, program.path());
    ASSERT_TRUE(inside.ok);
    EXPECT_EQ(inside.stored, QStringLiteral("fotogr/gba.bmp"));
    EXPECT_FALSE(inside.cut);

    QTemporaryDir elsewhere;
    const QString far =
        QDir(elsewhere.path()).filePath(QStringLiteral("bardzo_dluga_nazwa_zdjecia_pojazdu.bmp"));
    ASSERT_TRUE(QFile::copy(picture, far));
    PhotoChoice outside = choosePhoto(far, program.path());
    ASSERT_TRUE(outside.ok);
    EXPECT_TRUE(outside.cut);
    EXPECT_EQ(outside.stored, far.left(30));

    const QString text = QDir(program.path()).filePath(QStringLiteral("fotogr/opis.jpg"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("to nie jest obraz");
    f.close();
    for (const QString& bad : {text, QDir(program.path()).filePath(QStringLiteral("fotogr/nie_ma.bmp"))}) {
        PhotoChoice refused = choosePhoto(bad, program.path());
        EXPECT_FALSE(refused.ok);
        EXPECT_EQ(refused.message, photo::notAPictureMessage);
        EXPECT_TRUE(refused.stored.isEmpty());
    }
}

TEST(DemoPhotos, SomeVehiclesAndMachinesGetAPictureThatShows) {
    test::TestDatabase tdb;
    schema::fillDemoData(*tdb.attachment);
    QTemporaryDir program;
    QStringList files = fillDemoPhotos(*tdb.attachment, program.path());
    ASSERT_GE(files.size(), 4);
    db::Transaction t(*tdb.attachment);
    db::Rows rows = db::inTransaction(t, [](db::Transaction& tr) {
        return tr.select(QStringLiteral("select FOTO from A_AUTO where FOTO is not null union all "
                                        "select FOTO from A_SPRZET where FOTO is not null"));
    });
    ASSERT_EQ(static_cast<qsizetype>(rows.size()), files.size());
    for (const db::Row& r : rows) {
        QString shown = photoToShow(r.text(QStringLiteral("FOTO")), program.path());
        EXPECT_TRUE(files.contains(shown)) << shown.toStdString();
        EXPECT_FALSE(QImage(shown).isNull());
    }
}

} // namespace
