#include "analysis/analyse_info.h"

#include "model/messung_info.h"
#include "support/qt_printers.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {
using Samples = std::vector<std::pair<quint32, quint32>>; // (time ms, value tenths)

// Channel 1 holds the samples; channel 0 a constant that no range in these tests picks
// up, so reading the wrong entry of a row shows.
void fill(TMessungInfo& m, const Samples& samples) {
    m.SetChannelCount(2);
    for (const auto& [t, v] : samples)
        ASSERT_TRUE(m.AddRow({t, 5000, v, 1}));
}

TAnalyseBereich range(quint8 condition, quint32 threshold, quint32 limit = 0, quint8 border = 0) {
    TAnalyseBereich r;
    r.Condition = condition;
    r.Threshold = threshold;
    r.Limit = limit;
    r.Border = border;
    return r;
}

std::vector<std::pair<double, double>> spans(const std::vector<AnalysisBand>& bands) {
    std::vector<std::pair<double, double>> out;
    for (const AnalysisBand& b : bands)
        out.emplace_back(b.Start, b.End);
    return out;
}
} // namespace

void PrintTo(const AnalysisPoint& p, std::ostream* os) {
    *os << "(time " << p.Time << " s, value " << p.Value << ")";
}

TEST(AnalyseInfo, RangeListOperations) {
    TAnalyseInfo a;
    EXPECT_EQ(a.RangeCount(), 0);
    EXPECT_EQ(a.Channel, 0);
    EXPECT_EQ(a.Range(0), nullptr);

    EXPECT_EQ(a.AddRange(-1), 0);
    EXPECT_EQ(*a.Range(0), TAnalyseBereich()) << "a new range has the initial values";
    EXPECT_EQ(a.Range(0)->Color, 16777215u);
    EXPECT_EQ(a.Range(0)->Transparency, 80);
    a.Range(0)->Name = "B";
    EXPECT_EQ(a.AddRange(7), 1) << "past the end appends";
    a.Range(1)->Name = "C";
    TAnalyseBereich* b = a.Range(0);
    EXPECT_EQ(a.AddRange(0), 0) << "inside the list inserts";
    a.Range(0)->Name = "A";
    EXPECT_EQ(a.Range(1), b) << "ranges keep their place in memory when others come and go";

    auto names = [&] {
        QStringList out;
        for (int i = 0; i < a.RangeCount(); ++i)
            out << a.Range(i)->Name;
        return out.join(',');
    };
    EXPECT_EQ(names(), "A,B,C");
    EXPECT_FALSE(a.MoveRange(0, 0)) << "the first cannot move up";
    EXPECT_FALSE(a.MoveRange(2, 1)) << "the last cannot move down";
    EXPECT_FALSE(a.MoveRange(1, 2)) << "no such direction";
    EXPECT_FALSE(a.MoveRange(3, 0));
    EXPECT_EQ(names(), "A,B,C");
    EXPECT_TRUE(a.MoveRange(2, 0));
    EXPECT_EQ(names(), "A,C,B");
    EXPECT_TRUE(a.MoveRange(0, 1));
    EXPECT_EQ(names(), "C,A,B");

    EXPECT_FALSE(a.DeleteRange(3));
    EXPECT_FALSE(a.DeleteRange(-1));
    EXPECT_TRUE(a.DeleteRange(1));
    EXPECT_EQ(names(), "C,B");
    a.ClearRanges();
    EXPECT_EQ(a.RangeCount(), 0);

    a.AddRange(-1);
    a.Channel = 3;
    a.DefinitionFile = "x.adef";
    a.ResetAnalysis();
    EXPECT_EQ(a.RangeCount(), 0);
    EXPECT_EQ(a.Channel, 0);
    EXPECT_TRUE(a.DefinitionFile.isEmpty());
}

TEST(AnalyseInfo, BandsOfOneRange) {
    using R = TAnalyseBereich;
    const Samples climb = {{0, 400}, {1000, 600}, {2000, 700}, {3000, 300}};
    struct Case {
        const char* what;
        Samples samples;
        TAnalyseBereich range;
        std::vector<std::pair<double, double>> bands;
    };
    const Case cases[] = {
        {"größer: the band ends at the first row below the threshold",
         climb,
         range(R::Greater, 500),
         {{1, 3}}},
        {"größer: the threshold itself counts",
         {{0, 400}, {1000, 500}, {2000, 499}},
         range(R::Greater, 500),
         {{1, 2}}},
        {"größer: still above at the last row closes at the last row",
         {{0, 400}, {1000, 600}, {2000, 700}},
         range(R::Greater, 500),
         {{1, 2}}},
        {"größer: a single qualifying last row is no band",
         {{0, 400}, {1000, 300}, {2000, 600}},
         range(R::Greater, 500),
         {}},
        {"größer: several passages",
         {{0, 600}, {1000, 400}, {2000, 600}, {3000, 650}, {4000, 100}},
         range(R::Greater, 500),
         {{0, 1}, {2, 4}}},
        {"kleiner: at or below the threshold",
         {{0, 600}, {1000, 400}, {2000, 500}, {3000, 700}},
         range(R::Less, 500),
         {{1, 3}}},
        {"begrenzt: still inside at the second-to-last row is dropped",
         {{0, 300}, {1000, 600}, {2000, 650}, {3000, 900}},
         range(R::Bounded, 500, 700, R::Rising | R::Falling | R::Minimum | R::Maximum),
         {}},
        {"begrenzt: Steigend marks below to above",
         {{0, 300}, {1000, 600}, {2000, 800}, {3000, 800}},
         range(R::Bounded, 500, 700, R::Rising),
         {{1, 2}}},
        {"begrenzt: Steigend ignores below back to below",
         {{0, 300}, {1000, 600}, {2000, 400}, {3000, 400}},
         range(R::Bounded, 500, 700, R::Rising),
         {}},
        {"begrenzt: Maximum marks below back to below",
         {{0, 300}, {1000, 600}, {2000, 400}, {3000, 400}},
         range(R::Bounded, 500, 700, R::Maximum),
         {{1, 2}}},
        {"begrenzt: Fallend marks above to below",
         {{0, 900}, {1000, 600}, {2000, 650}, {3000, 400}, {4000, 400}},
         range(R::Bounded, 500, 700, R::Falling),
         {{1, 3}}},
        {"begrenzt: Minimum marks above back to above",
         {{0, 900}, {1000, 700}, {2000, 800}, {3000, 800}},
         range(R::Bounded, 500, 700, R::Minimum),
         {{1, 2}}},
        {"begrenzt: Fallend ignores above back to above",
         {{0, 900}, {1000, 700}, {2000, 800}, {3000, 800}},
         range(R::Bounded, 500, 700, R::Falling),
         {}},
        {"begrenzt: the first row is never examined",
         {{0, 600}, {1000, 800}, {2000, 800}},
         range(R::Bounded, 500, 700, 15),
         {}},
        {"begrenzt: a limit below the threshold is taken the other way about",
         {{0, 300}, {1000, 600}, {2000, 800}, {3000, 800}},
         range(R::Bounded, 700, 500, R::Rising),
         {{1, 2}}},
        {"an unknown condition marks nothing", climb, range(7, 500), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMessungInfo m;
        fill(m, c.samples);
        TAnalyseInfo a;
        a.Channel = 1;
        *a.Range(a.AddRange(-1)) = c.range;
        EXPECT_EQ(spans(a.ComputeBands(m)), c.bands);
    }
}

TEST(AnalyseInfo, BoundedRangeKeepsItsExchangedValues) {
    TMessungInfo m;
    fill(m, {{0, 300}, {1000, 600}, {2000, 800}});
    TAnalyseInfo a;
    a.Channel = 1;
    *a.Range(a.AddRange(-1)) = range(TAnalyseBereich::Bounded, 700, 500);
    a.ComputeBands(m);
    EXPECT_EQ(a.Range(0)->Threshold, 500u);
    EXPECT_EQ(a.Range(0)->Limit, 700u);
}

TEST(AnalyseInfo, RunsOnlyWithRangesAndThreeRows) {
    TMessungInfo m;
    fill(m, {{0, 400}, {1000, 600}});
    TAnalyseInfo a;
    a.Channel = 1;
    EXPECT_FALSE(a.AnalyseRanges(m)) << "no ranges";
    *a.Range(a.AddRange(-1)) = range(TAnalyseBereich::Bounded, 700, 500);
    EXPECT_FALSE(a.AnalyseRanges(m)) << "two rows";
    EXPECT_EQ(a.Range(0)->Threshold, 700u) << "nothing ran, nothing exchanged";
    ASSERT_TRUE(m.AddRow({2000, 0, 0, 1}));
    EXPECT_TRUE(a.AnalyseRanges(m));
    a.Channel = 2;
    EXPECT_FALSE(a.AnalyseRanges(m)) << "a channel the measurement lacks";
    EXPECT_EQ(a.MaxTemperature(m), AnalysisPoint{});
    EXPECT_EQ(a.MaxSlope(m, 0), AnalysisPoint{});
}

TEST(AnalyseInfo, BandsAndTreeOfSeveralRanges) {
    LocaleScope german(germanLocale());
    TMessungInfo m;
    fill(m, {{0, 400}, {1500, 600}, {2000, 300}, {3250, 700}, {4000, 650}, {1234500, 200}});
    TAnalyseInfo a;
    a.Channel = 1;
    TAnalyseBereich hot = range(TAnalyseBereich::Greater, 500);
    hot.Name = "Heiß 100%";
    hot.Color = 0x0000FF;
    hot.Transparency = 30;
    TAnalyseBereich none = range(TAnalyseBereich::Greater, 1000);
    none.Name = "%1 leer";
    none.Color = 0x00FF00;
    TAnalyseBereich cold = range(TAnalyseBereich::Less, 300);
    cold.Name = "Kalt";
    *a.Range(a.AddRange(-1)) = hot;
    *a.Range(a.AddRange(-1)) = none;
    *a.Range(a.AddRange(-1)) = cold;

    const auto result = a.AnalyseRanges(m);
    ASSERT_TRUE(result);
    // The last row alone qualifies for "Kalt": no band there.
    const std::vector<AnalysisBand> expected = {
        {1.5, 2.0, 0x0000FF, 30, 0},
        {3.25, 1234.5, 0x0000FF, 30, 0},
        {2.0, 3.25, 0xFFFFFF, 80, 2},
    };
    EXPECT_EQ(result->Bands, expected);

    ASSERT_EQ(result->Tree.size(), 3u);
    const AnalysisTreeEntry& t0 = result->Tree[0];
    EXPECT_EQ(t0.Text, "Heiß 100% [1231,75 s]") << "no group separator, the name as it is";
    EXPECT_EQ(t0.Color, 0x0000FFu);
    ASSERT_EQ(t0.Children.size(), 2u);
    EXPECT_EQ(t0.Children[0].Text, "0,50 s [1,50 .. 2,00]");
    EXPECT_EQ(t0.Children[1].Text, "1231,25 s [3,25 .. 1234,50]");
    EXPECT_EQ(t0.Children[1].Color, 0x0000FFu);
    EXPECT_EQ(result->Tree[1].Text, "%1 leer [0,00 s]") << "a range without bands";
    EXPECT_EQ(result->Tree[1].Color, 0x00FF00u);
    EXPECT_TRUE(result->Tree[1].Children.empty());
    EXPECT_EQ(result->Tree[2].Text, "Kalt [1,25 s]");
    EXPECT_EQ(result->Tree[2].Range, 2);
}

TEST(AnalyseInfo, MaxTemperature) {
    struct Case {
        const char* what;
        Samples samples;
        AnalysisPoint expected;
    };
    const Case cases[] = {
        {"no rows", {}, {0, 0}},
        {"only zeros", {{0, 0}, {1000, 0}}, {0, 0}},
        {"the first of equal maxima",
         {{0, 100}, {1500, 705}, {2000, 705}, {3000, 20}},
         {1.5, 70.5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMessungInfo m;
        fill(m, c.samples);
        TAnalyseInfo a;
        a.Channel = 1;
        EXPECT_EQ(a.MaxTemperature(m), c.expected);
    }
}

TEST(AnalyseInfo, MaxSlope) {
    struct Case {
        const char* what;
        Samples samples;
        AnalysisPoint rise, fall;
    };
    const Case cases[] = {
        {"the worked example", {{0, 200}, {2000, 260}, {3000, 250}}, {1.0, 3.0}, {2.5, -1.0}},
        {"one row", {{0, 200}}, {0, 0}, {0, 0}},
        {"never rising, never falling", {{0, 200}, {1000, 200}, {2000, 200}}, {0, 0}, {0, 0}},
        {"equal slopes keep the earlier interval",
         {{0, 100}, {1000, 200}, {2000, 300}},
         {0.5, 10.0},
         {0, 0}},
        {"rows at the same instant are skipped",
         {{0, 200}, {1000, 300}, {1000, 900}, {2000, 400}},
         {0.5, 10.0},
         {1.5, -50.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TMessungInfo m;
        fill(m, c.samples);
        TAnalyseInfo a;
        a.Channel = 1;
        EXPECT_EQ(a.MaxSlope(m, TAnalyseInfo::Rise), c.rise);
        EXPECT_EQ(a.MaxSlope(m, TAnalyseInfo::Fall), c.fall);
    }
}

TEST(AnalyseInfo, ResultTexts) {
    {
        LocaleScope german(germanLocale());
        EXPECT_EQ(TAnalyseInfo::SlopeText({1.0, 3.0}), "3,00 °C/s bei 1,00 s");
        EXPECT_EQ(TAnalyseInfo::SlopeText({2.5, -1.0}), "-1,00 °C/s bei 2,50 s");
        EXPECT_EQ(TAnalyseInfo::MaxTemperatureText({1500.25, 1070.5}), "1070,50 °C bei 1500,25 s");
        EXPECT_EQ(TAnalyseInfo::UnknownText(), "Unbekannt");
    }
    LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(TAnalyseInfo::MaxTemperatureText({2.0, 70.0}), "70.00 °C bei 2.00 s");
}
