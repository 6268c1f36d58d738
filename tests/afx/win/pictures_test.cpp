// Pictures of the resources: read as the format their names give, to the same image as a
// reader that probes for the format.
#include "afx/core/resources.h"
#include "afx/win/gdi.h"

#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(Pictures, EveryPictureOfTheScriptReadsAsAProbingReaderReadsIt)
{
    const afx::ResourceScript& script = afx::ResourceScript::Instance();
    int pictures = 0;
    for (int id = 1; id <= 0xFFFF; ++id) {
        QStringList files = script.IconFiles(id);
        if (!script.BitmapFile(id).isEmpty())
            files << script.BitmapFile(id);
        for (const QString& file : files) {
            const QImage picture = afx::LoadPicture(file);
            ASSERT_FALSE(picture.isNull()) << file.toStdString();
            EXPECT_EQ(picture, QImage(file)) << file.toStdString();
            ++pictures;
        }
    }
    EXPECT_GT(pictures, 0);
}

TEST(Pictures, APictureIsNotTakenForAnotherFormat)
{
    QTemporaryDir folder;
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString named = folder.filePath(QStringLiteral("picture.png"));
    ASSERT_TRUE(image.save(named, "BMP"));   // a bitmap under a picture's name
    EXPECT_TRUE(afx::LoadPicture(named).isNull());
    EXPECT_TRUE(afx::LoadPicture(folder.filePath(QStringLiteral("missing.png"))).isNull());
}

} // namespace
