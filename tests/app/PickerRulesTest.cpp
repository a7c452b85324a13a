#include "app/PickerRules.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tapwise {
namespace {

TEST(PickerRulesTest, NamesWithAnyOfTheNineCharactersAreRefused) {
    for (const char* name : {"a\\b", "a/b", "c:", "*.tpw", "why?", "say \"hi\"", "<x", "x>", "a|b"})
        EXPECT_TRUE(HasRefusedCharacter(QString::fromUtf8(name))) << name;
    for (const char* name : {"Daily report", "été.tpw", "a.b-c_d (2)", "semi;colon"})
        EXPECT_FALSE(HasRefusedCharacter(QString::fromUtf8(name))) << name;
}

TEST(PickerRulesTest, ExchangeFileGetsTpwUnlessItHasItInAnyCase) {
    EXPECT_EQ(ExchangeFilePath("/data/", "orders"), "/data/orders.tpw");
    EXPECT_EQ(ExchangeFilePath("/data/", "ORDERS.TPW"), "/data/ORDERS.TPW");
    // The name is trimmed before its ending is looked at, so a space typed
    // after the extension does not give "x.tpw.tpw".
    EXPECT_EQ(ExchangeFilePath("/data/", "  x.tpw "), "/data/x.tpw");
    EXPECT_EQ(ExchangeFilePath("/data/", "report.txt"), "/data/report.txt.tpw");
    EXPECT_EQ(ExchangeFilePath("/", "root"), "/root.tpw");
}

TEST(PickerRulesTest, TheWorkbookFilterAlsoTakesTodaysWorkbooks) {
    EXPECT_EQ(FileFilters("xls"), (QStringList{"*xls", "*.xlsx", "*.xlsm"}));
    EXPECT_EQ(FileFilters("XLS"), (QStringList{"*XLS", "*.xlsx", "*.xlsm"}));
    EXPECT_EQ(FileFilters(".tpw"), QStringList{"*.tpw"});
}

TEST(PickerRulesTest, AFolderLiesInThePlaceWithTheLongestPathHoldingIt) {
    const QList<Place> places{
        {"root", "/"}, {"home", "/home/anna/"}, {"stick", "/media/anna/STICK/"}};
    EXPECT_EQ(PlaceIndexOf(places, "/home/anna/data/"), 1);
    EXPECT_EQ(PlaceIndexOf(places, "/home/anna"), 1);
    EXPECT_EQ(PlaceIndexOf(places, "/home/annabel/"), 0);
    EXPECT_EQ(PlaceIndexOf(places, "/media/anna/STICK/x/y/"), 2);
    EXPECT_EQ(PlaceIndexOf(places, "/etc/"), 0);
    EXPECT_EQ(PlaceIndexOf(places.mid(1), "/etc/"), -1);
}

TEST(PickerRulesTest, StartPlacesBeginWithTheRootAndTheHomeFolder) {
    const QList<Place> places = StartPlaces("E");
    ASSERT_GE(places.size(), 1);
    EXPECT_EQ(places[0].path, "/");
    const QString home = WithSlash(QDir::homePath());
    int homes = 0;
    for (const Place& place : places) {
        EXPECT_TRUE(place.path.endsWith('/')) << place.path.toStdString();
        EXPECT_FALSE(place.path.startsWith("/proc/") || place.path.startsWith("/sys/"));
        homes += place.path == home ? 1 : 0;
    }
    EXPECT_EQ(homes, home == "/" ? 0 : 1);
}

TEST(PickerRulesTest, FoldersThatCannotBeListedOrMadeGiveTheSystemsErrorNumberAndText) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_EQ(FolderOpenError(dir.path()), std::nullopt);
    EXPECT_EQ(FolderOpenError(dir.path() + "/gone").value_or(""), "2  No such file or directory");

    EXPECT_EQ(MakeFolder(dir.path() + "/new"), std::nullopt);
    EXPECT_TRUE(QDir(dir.path() + "/new").exists());
    EXPECT_EQ(MakeFolder(dir.path() + "/new").value_or(""), "17  File exists");
    EXPECT_EQ(MakeFolder(dir.path() + "/gone/new").value_or(""), "2  No such file or directory");
}

} // namespace
} // namespace tapwise
