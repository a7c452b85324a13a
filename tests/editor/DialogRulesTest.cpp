#include "editor/DialogRules.h"

#include <QString>

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace tapwise {
namespace {

TEST(TypedNumberTest, AcceptsPlainDecimalsOnly) {
    const struct {
        const char* text;
        std::optional<double> number;
    } cases[] = {
        {"12", 12},
        {" -7 ", -7},
        {"+3", 3},
        {"2.5", 2.5},
        {"2,5", 2.5},
        {".5", 0.5},
        {"4.", 4},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"1e3", std::nullopt},
        {"1 2", std::nullopt},
        {"12a", std::nullopt},
        {"0x1F", std::nullopt},
        {"1.000,5", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(typedNumber(QString::fromLatin1(c.text)), c.number) << c.text;
}

// --- Mouse values ---

TEST(MouseValuesTest, BoxColourFollowsTheSign) {
    const struct {
        const char* text;
        bool isSigned;
        BoxColour colour;
    } cases[] = {
        {"", false, BoxColour::Normal},    {"  ", false, BoxColour::Normal},
        {"120", false, BoxColour::Normal}, {"-5", false, BoxColour::Red},
        {"-5", true, BoxColour::Normal},   {"-", true, BoxColour::Unchanged},
        {"-", false, BoxColour::Red},      {"abc", true, BoxColour::Red},
        {"1.5", false, BoxColour::Normal}, {"1e3", false, BoxColour::Red},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mouseBoxColour(QString::fromLatin1(c.text), c.isSigned), c.colour)
            << c.text << (c.isSigned ? " signed" : "");
}

TEST(MouseValuesTest, ValueRoundsHalvesToEvenAndRefusesWhatIsRed) {
    const struct {
        const char* text;
        bool isSigned;
        std::optional<qint32> value;
    } cases[] = {
        {"", false, 0},
        {"799", false, 799},
        {"2.5", false, 2},
        {"3.5", false, 4},
        {"2.6", false, 3},
        {"-2.5", true, -2},
        {"-3.5", true, -4},
        {"-5", true, -5},
        {"-5", false, std::nullopt},
        {"-", true, std::nullopt},
        {"x1", true, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mouseBoxValue(QString::fromLatin1(c.text), c.isSigned), c.value) << c.text;
}

TEST(MouseValuesTest, EntryKindAndSign) {
    EXPECT_EQ(mouseEntryOf("[PosMouse ...]"), MouseEntry::Position);
    EXPECT_EQ(mouseEntryOf("[posmouse.1;2)]"), MouseEntry::Position);
    EXPECT_EQ(mouseEntryOf("[MoveMouse ...]"), MouseEntry::Movement);
    EXPECT_EQ(mouseEntryOf("[MoveWheel.3;]"), MouseEntry::Wheel);
    EXPECT_EQ(mouseEntryOf("[LeftClick]"), MouseEntry::None);
    EXPECT_EQ(mouseEntryOf("PosMouse"), MouseEntry::None);
    EXPECT_FALSE(mouseValuesSigned("[PosMouse ...]"));
    EXPECT_TRUE(mouseValuesSigned("[MoveMouse ...]"));
    EXPECT_TRUE(mouseValuesSigned("[MoveWheel.3;]"));
}

// A line updated without changing its values comes back as it was, whether
// the caller marked it or not.
TEST(MouseValuesTest, UpdateReadsTheValuesBackAndRebuildsTheLine) {
    const struct {
        const char* keys;
        const char* marked;
        const char* first;
        const char* second;
    } cases[] = {
        {"[PosMouse(100;200)]", "[PosMouse.100;200)]", "100", "200"},
        {"[MoveMouse(-4;0)]", "[MoveMouse.-4;0)]", "-4", "0"},
        {"[MoveWheel(3)]", "[MoveWheel.3;]", "3", "0"},
        {"[MoveWheel(-12)]", "[MoveWheel.-12;]", "-12", "0"},
    };
    for (const auto& c : cases) {
        const QString keys = QString::fromLatin1(c.keys);
        const QString marked = withUpdateMark(keys);
        EXPECT_EQ(marked, c.marked);
        EXPECT_EQ(withUpdateMark(marked), marked) << "marking twice";
        const MouseBoxTexts texts = mouseBoxTexts(marked);
        EXPECT_EQ(texts.first, c.first) << c.keys;
        EXPECT_EQ(texts.second, c.second) << c.keys;
        const bool isSigned = mouseValuesSigned(marked);
        EXPECT_EQ(buildMouseLine(marked, *mouseBoxValue(texts.first, isSigned),
                                 *mouseBoxValue(texts.second, isSigned)),
                  keys);
    }
}

TEST(MouseValuesTest, NewEntryStartsAtZeroAndBuildsFromTheValues) {
    const MouseBoxTexts texts = mouseBoxTexts("[PosMouse ...]");
    EXPECT_EQ(texts.first, "0");
    EXPECT_EQ(texts.second, "0");
    EXPECT_EQ(buildMouseLine("[PosMouse ...]                              ", 120, 455),
              "[PosMouse(120;455)]");
    EXPECT_EQ(buildMouseLine("[MoveMouse ...]", -5, 0), "[MoveMouse(-5;0)]");
    EXPECT_EQ(buildMouseLine("[MoveWheel.3;]", -3, 99), "[MoveWheel(-3)]");
    EXPECT_EQ(buildMouseLine("[LeftClick]", 1, 2), "");
}

// --- Remarks and labels ---

TEST(RemarkTest, KindAndDefaultByTheBeginning) {
    const struct {
        const char* keys;
        RemarkKind kind;
        const char* update;
    } cases[] = {
        {"*Pause*", RemarkKind::Pause, ""},
        {"*PAUSE*check the total   ", RemarkKind::Pause, "check the total"},
        {"#**Remark ...", RemarkKind::Remark, "Remark ..."},
        {"#** log in first", RemarkKind::Remark, "log in first"},
        {":<string>", RemarkKind::CharacterString, "<string>"},
        {":John Smith", RemarkKind::CharacterString, "John Smith"},
        {"#*Pause*x", RemarkKind::None, ""},
        {"[LeftClick]", RemarkKind::None, ""},
    };
    for (const auto& c : cases) {
        const QString keys = QString::fromLatin1(c.keys);
        EXPECT_EQ(remarkKindOf(keys), c.kind) << c.keys;
        EXPECT_EQ(remarkDefault(keys, 1), c.update) << c.keys;
        EXPECT_EQ(remarkDefault(keys, 0), "") << c.keys;
    }
}

TEST(RemarkTest, LinesAreCutToTheirWidth) {
    const QString fifty = QString(50, u'r');
    EXPECT_EQ(buildRemarkLine(RemarkKind::Remark, fifty), "#**" + QString(40, u'r'));
    EXPECT_EQ(buildRemarkLine(RemarkKind::CharacterString, fifty), ":" + QString(40, u'r'));
    EXPECT_EQ(buildRemarkLine(RemarkKind::Pause, QString(40, u'p')), "*Pause*" + QString(36, u'p'));
    EXPECT_EQ(buildRemarkLine(RemarkKind::Pause, "check"), "*Pause*check");
    EXPECT_EQ(buildRemarkLine(RemarkKind::None, "x"), "");
}

TEST(LabelTest, NumbersFromOneTo999) {
    const struct {
        const char* text;
        std::optional<int> number;
    } cases[] = {
        {"1", 1},
        {"999", 999},
        {"007", 7},
        {" 12 ", 12},
        {"0", std::nullopt},
        {"000", std::nullopt},
        {"1000", std::nullopt},
        {"12a", std::nullopt},
        {"-1", std::nullopt},
        {"", std::nullopt},
        {"1.5", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(labelNumber(QString::fromLatin1(c.text)), c.number) << c.text;
    EXPECT_EQ(buildLabelLine(7), "*Label(7)*");
    EXPECT_EQ(labelDefault("*Label(12)*"), "12");
    EXPECT_EQ(labelDefault("*Label ...*"), "");
    EXPECT_EQ(labelDefault("*Label(12*"), "");
}

// --- Check line ---

TEST(CheckLineTest, ValuesOfAnExistingLine) {
    EXPECT_EQ(checkValuesOf("*Chk ...*"), CheckValues{});
    EXPECT_EQ(checkValuesOf("*Chk(12;34;5;Saved)*"), (CheckValues{"12", "34", "5", "Saved"}));
    EXPECT_EQ(checkValuesOf("*Chk(;;5;Saved)*"), (CheckValues{"", "", "5", "Saved"}));
    EXPECT_EQ(checkValuesOf("*chk(;clipb;0;Total)*"), (CheckValues{"", "", "0", "Total", true}));
    EXPECT_EQ(checkValuesOf("*Chk(1;2)*"), (CheckValues{"1", "2", "", ""}));
}

TEST(CheckLineTest, BuildsEachKindOfCheck) {
    const struct {
        CheckValues values;
        const char* line;
    } cases[] = {
        {{"", "", "5", "Saved"}, "*Chk(;;5;Saved)*"},
        {{"0", "0", "5", "Saved"}, "*Chk(0;0;5;Saved)*"},
        {{"12", "34", "", " Saved "}, "*Chk(12;34;0;Saved)*"},
        {{"12.9", "34", "7.5", "Saved"}, "*Chk(12;34;7;Saved)*"},
        {{"120", "455", "5", "Saved", true}, "*Chk(;ClipB;5;Saved)*"},
        {{"12", "", "5", "Saved", true}, "*Chk(;ClipB;5;Saved)*"},
        {{"abc", "", "0", "Saved", true}, "*Chk(;ClipB;0;Saved)*"},
        {{"9999", "9999", "9999", QString(20, u't')}, "*Chk(9999;9999;9999;tttttttttttttttttttt)*"},
    };
    for (const auto& c : cases) {
        const CheckOutcome outcome = buildCheckLine(c.values);
        EXPECT_EQ(outcome.problem, CheckProblem::None) << c.line;
        EXPECT_EQ(outcome.line, c.line);
    }
}

TEST(CheckLineTest, RefusesInTheOrderTheBoxesAreChecked) {
    const struct {
        CheckValues values;
        CheckProblem problem;
    } cases[] = {
        {{"12", "", "5", "Saved"}, CheckProblem::OneBlank},
        {{"", "0", "5", "Saved"}, CheckProblem::OneBlank},
        {{"", "", "5", ""}, CheckProblem::EmptyText},
        {{"", "", "5", "   "}, CheckProblem::EmptyText},
        {{"", "", "5", "a,b"}, CheckProblem::ForbiddenText},
        {{"", "", "5", "f(x)"}, CheckProblem::ForbiddenText},
        {{"", "", "5", "a;b"}, CheckProblem::ForbiddenText},
        {{"-5", "10", "5", "Saved"}, CheckProblem::BadX},
        {{"10", "x", "5", "Saved"}, CheckProblem::BadY},
        {{"", "", "-1", "Saved"}, CheckProblem::BadSeconds},
        {{"", "", "5", "Saved", true}, CheckProblem::None},
        {{"", "", "abc", "", true}, CheckProblem::BadSeconds},
        {{"9999", "9999", "9999", QString(21, u't')}, CheckProblem::LongText},
    };
    for (const auto& c : cases) {
        const CheckOutcome outcome = buildCheckLine(c.values);
        EXPECT_EQ(outcome.problem, c.problem)
            << c.values.x.toStdString() << "|" << c.values.y.toStdString() << "|"
            << c.values.text.toStdString();
        if (c.problem != CheckProblem::None) {
            EXPECT_EQ(outcome.line, "");
        }
    }
}

TEST(CheckLineTest, NumberBoxColours) {
    for (const char* normal : {"", " ", "0", "9999", "12.5"})
        EXPECT_EQ(checkNumberColour(QString::fromLatin1(normal)), BoxColour::Normal) << normal;
    for (const char* red : {"-1", "a", "1e3", "-"})
        EXPECT_EQ(checkNumberColour(QString::fromLatin1(red)), BoxColour::Red) << red;
}

// --- Condition line ---

// Ten columns at first; the list grows no further than "IV".
TEST(ConditionLineTest, TypeListGrowsUpToColumn256) {
    const QStringList types = conditionTypes(FirstOfferedColumns);
    ASSERT_EQ(types.size(), 15);
    EXPECT_EQ(types[5], "ExcelSheetCol#A");
    EXPECT_EQ(types.last(), "ExcelSheetCol#J");
    EXPECT_EQ(conditionTypes(300).size(), 5 + 256);
    EXPECT_EQ(conditionTypes(300).last(), "ExcelSheetCol#IV");
    EXPECT_EQ(operatorList(operatorListSwitch(" time ")).size(), 4);
    EXPECT_EQ(operatorList(operatorListSwitch("Counter")).size(), 12);
}

TEST(ConditionLineTest, ValuesOfAnExistingLine) {
    const struct {
        const char* keys;
        ConditionValues values;
    } cases[] = {
        {"*If ...*", {}},
        {"*If(WinTit;NS;Mail;9)*", {"Window Title", "Not Starts (NS)", "Mail", "9"}},
        {"*If(ClipB;Cn;Total;3)*", {"ClipBoard", "Contains (Cn)", "Total", "3"}},
        {"*If(Counter;<;5;1)*", {"Counter", "Less (<)", "5", "1"}},
        {"*If(Time;=;08:30:00;12)*", {"Time", "Equal (=)", "08:30:00", "12"}},
        {"*If(True;;;2)*", {"True", "", "", "2"}},
        {"*if(col#C;st;X;4)*", {"ExcelSheetcol#C", "Starts (St)", "X", "4"}},
        {"*If(Col#Z;<=;10;4)*", {"ExcelSheetCol#Z", "Less or Equal (<=)", "10", "4"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(conditionValuesOf(QString::fromLatin1(c.keys)), c.values) << c.keys;
}

TEST(ConditionLineTest, BuildsEachType) {
    const QLocale italy(QLocale::Italian, QLocale::Italy);
    const struct {
        ConditionValues values;
        const char* line;
    } cases[] = {
        {{"ClipBoard", "Contains (Cn)", "Total", "3"}, "*If(ClipB;Cn;Total;3)*"},
        {{"Window Title", "Not Starts (NS)", " Mail ", "09"}, "*If(WinTit;NS;Mail;9)*"},
        {{"Counter", "Less (<)", "5", "1"}, "*If(Counter;<;5;1)*"},
        {{"Counter", "", "5", "1"}, "*If(Counter;<;5;1)*"},
        {{"True", "", "", "2"}, "*If(True;;;2)*"},
        {{"true", "Equal (=)", "left over", "2"}, "*If(True;;;2)*"},
        {{"Time", "Equal (=)", "08:30:00", "12"}, "*If(Time;=;08:30:00;12)*"},
        {{"Time", "Greater (>)", "31/12/2024 8:30:00", "1"}, "*If(Time;>;31/12/2024 8:30:00;1)*"},
        {{"ExcelSheetCol#C", "Starts (St)", "X", "4"}, "*If(Col#C;St;X;4)*"},
        {{"excelsheetcol#iv", "Equal (=)", "", "4"}, "*If(Col#IV;=;;4)*"},
        {{"ClipBoard", "nc", "x", "1"}, "*If(ClipB;NC;x;1)*"},
        {{"ClipBoard", "Equal (=)", "", "1"}, "*If(ClipB;=;;1)*"},
        {{"Counter", "", QString(24, u'9'), "999"}, "*If(Counter;<;999999999999999999999999;999)*"},
    };
    for (const auto& c : cases) {
        const ConditionOutcome outcome = buildConditionLine(c.values, italy);
        EXPECT_EQ(outcome.problem, ConditionProblem::None) << c.line;
        EXPECT_EQ(outcome.line, c.line);
    }
}

TEST(ConditionLineTest, RefusesInTheOrderTheBoxesAreChecked) {
    const QLocale italy(QLocale::Italian, QLocale::Italy);
    using P = ConditionProblem;
    const struct {
        ConditionValues values;
        ConditionProblem problem;
    } cases[] = {
        {{"", "", "", ""}, P::EmptyType},
        {{"Clip", "Equal (=)", "x", "1"}, P::UnknownType},
        {{"ExcelSheetCol#", "Equal (=)", "x", "1"}, P::UnknownType},
        {{"ExcelSheetCol#IW", "Equal (=)", "x", "1"}, P::UnknownType},
        {{"ClipBoard", "", "x", ""}, P::EmptyOperator},
        {{"ClipBoard", "Equal", "x", "1"}, P::UnknownOperator},
        {{"Time", "Contains (Cn)", "08:00:00", "1"}, P::UnknownOperator},
        {{"Time", "Equal (=)", "", ""}, P::EmptyTime},
        {{"ClipBoard", "Equal (=)", "x", ""}, P::EmptyLabel},
        {{"ClipBoard", "Equal (=)", "a,b", "x"}, P::ForbiddenValue},
        {{"ClipBoard", "Equal (=)", "(x)", "1"}, P::ForbiddenValue},
        {{"ClipBoard", "Equal (=)", "x", "0"}, P::BadLabel},
        {{"ClipBoard", "Equal (=)", "x", "1a"}, P::BadLabel},
        {{"Counter", "Less (<)", "0", "1"}, P::BadCounterLimit},
        {{"Counter", "Less (<)", "1a", "1"}, P::BadCounterLimit},
        {{"Counter", "Less (<)", "", "1"}, P::BadCounterLimit},
        {{"Time", "Equal (=)", "25:00:00", "1"}, P::BadTime},
        {{"Time", "Equal (=)", "tomorrow", "1"}, P::BadTime},
        {{"Window Title", "Not Contains (NC)", QString(25, u'w'), "999"}, P::LongValue},
    };
    for (const auto& c : cases) {
        const ConditionOutcome outcome = buildConditionLine(c.values, italy);
        EXPECT_EQ(outcome.problem, c.problem)
            << c.values.type.toStdString() << "|" << c.values.op.toStdString() << "|"
            << c.values.value.toStdString() << "|" << c.values.label.toStdString();
        EXPECT_EQ(outcome.line, "");
    }
}

} // namespace
} // namespace tapwise
