#include "web/DownloadPlacement.h"

#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>

namespace tx {
namespace {

TEST(RecipeDownloadTest, OnlyDownloadsFromTheRecipePageGoIntoTheProgramFolder) {
    const QString program = QStringLiteral("/opt/童学三步通/");
    const QString user = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    const std::pair<const char*, bool> cases[] = {
        {"file:///opt/%E7%AB%A5/site/first/myfood.htm", true},
        {"https://maker.example/myfood.htm", true},
        {"https://maker.example/MYFOOD.HTM?x=1", true},
        {"https://maker.example/index.htm", false},
        {"https://maker.example/myfood.htm.evil/other.htm", false},
        {"https://other.example/files/notmyfood.htm", false},
        {"", false},
    };
    for (const auto& [page, intoProgram] : cases) {
        SCOPED_TRACE(page);
        const QString folder = downloadFolderFor(QUrl(QString::fromUtf8(page)), program);
        if (intoProgram)
            EXPECT_EQ(folder, QDir(program).absolutePath());
        else
            EXPECT_EQ(folder, user.isEmpty() ? QDir::homePath() : user);
    }
}

} // namespace
} // namespace tx
