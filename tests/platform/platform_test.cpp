#include "platform/ole_date.h"
#include "platform/win1252.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

TEST(Win1252, RoundTripsEveryByteAndMapsTheUnknownToQuestionMark) {
    QByteArray all;
    for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
    EXPECT_EQ(toWin1252(fromWin1252(all)), all);
    EXPECT_EQ(fromWin1252(QByteArray("\x80\x9f\xe4\xdf", 4)), QString::fromUtf8("€Ÿäß"));
    EXPECT_EQ(toWin1252(QString::fromUtf8("Grad °C – €")), QByteArray("Grad \xb0" "C \x96 \x80"));
    EXPECT_EQ(toWin1252(QString::fromUtf8("Ω✓")), QByteArray("??"));
}

TEST(OleDate, ConvertsBothWays) {
    struct Case {
        double ole;
        QDateTime dt;
    } cases[] = {
        {0.0, QDateTime(QDate(1899, 12, 30), QTime(0, 0))},
        {2.5, QDateTime(QDate(1900, 1, 1), QTime(12, 0))},
        {-1.25, QDateTime(QDate(1899, 12, 29), QTime(6, 0))},
        {46367.75, QDateTime(QDate(2026, 12, 11), QTime(18, 0))},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fromOleDate(c.ole), c.dt) << c.ole;
        EXPECT_DOUBLE_EQ(toOleDate(c.dt), c.ole);
    }
    const QDateTime now = QDateTime::currentDateTime();
    EXPECT_LE(std::abs(fromOleDate(toOleDate(now)).msecsTo(now)), 1);
    EXPECT_FALSE(fromOleDate(std::nan("")).isValid());
}
