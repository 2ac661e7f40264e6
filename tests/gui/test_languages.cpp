// The two interface languages: every translated text in Russian and back in
// English, the texts that stay English, and everything a switch must leave alone.
#include "FormHarness.h"
#include "RadioGroup.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

using namespace guitest;

namespace {

enum class TKind { Tab, Text, Title, Item, Credit };
struct TTranslated {
    const char* Control;
    TKind Kind;
    int Index;
    const char* Russian;
    const char* English;
};

// clang-format off
const TTranslated Table[] = {
    {"PageControl", TKind::Tab, 0, "Основная", "General"},
    {"PageControl", TKind::Tab, 1, "Сравнение", "Compare"},
    {"PageControl", TKind::Tab, 2, "Анти", "Anti"},
    {"PageControl", TKind::Tab, 3, "Настройки", "Options"},
    {"WithBall", TKind::Text, 0, "С мячом", "With Ball"},
    {"WithoutBall", TKind::Text, 0, "Без мяча", "Without Ball"},
    {"LabelT1", TKind::Text, 0, "Основная тактика", "Main tactic"},
    {"LabelT2", TKind::Text, 0, "Доп. тактика", "Second tactic"},
    {"GeneralOptions", TKind::Title, 0, "Основные настройки", "General Options"},
    {"ImageOptions", TKind::Title, 0, "Настройка картинки", "Image Options"},
    {"CheckMainColor", TKind::Title, 0, "Основная тактика", "Main tactic colors"},
    {"CheckMainColor", TKind::Item, 0, "Зенит", "Zenit"},
    {"CheckMainColor", TKind::Item, 1, "ЦСКА", "CSKA"},
    {"CheckMainColor", TKind::Item, 2, "Милан", "AC Milan"},
    {"CheckMainColor", TKind::Item, 3, "Другое", "Custom"},
    {"CheckSecondColor", TKind::Title, 0, "Доп.тактика", "Second tactic colors"},
    {"CheckSecondColor", TKind::Item, 0, "Мясо", "Spartak M"},
    {"CheckSecondColor", TKind::Item, 1, "Алания", "Alania"},
    {"CheckSecondColor", TKind::Item, 2, "Интер", "Internazionale"},
    {"CheckSecondColor", TKind::Item, 3, "Другое", "Custom"},
    {"SmoothMove", TKind::Text, 0, "Сглаживать движение", "Smooth movement"},
    {"ClearBack", TKind::Text, 0, "Текст без фона", "Text without background"},
    {"HideLogo", TKind::Text, 0, "Спрятать титры", "Hide logo"},
    {"CheckHints", TKind::Text, 0, "Показывать подсказки", "Show hints"},
    {"ReserveCopy", TKind::Text, 0, "Резервное копирование", "Reserve copy"},
    {"BtnOffSide", TKind::Text, 0, "Сделать \"настоящие\" оффсайды", "Make \"real\" offside trap"},
    {"BtnMarking", TKind::Text, 0, "Сделать опеку более жесткой", "Make marking more close"},
    {"AttackLab", TKind::Text, 0, "Атакующий потенциал", "Attacking potential"},
    {"T1Att", TKind::Text, 0, "Основная тактика", "Main Tactic"},
    {"T2Att", TKind::Text, 0, "Доп. тактика", "Second tactic"},
    {"PoorA", TKind::Text, 0, "Убогий", "VeryPoor"},
    {"NormalA", TKind::Text, 0, "Нормально", "Normal"},
    {"SuperA", TKind::Text, 0, "Круто", "Superb"},
    {"DefenceLab", TKind::Text, 0, "Защитный потенциал", "Defence potential"},
    {"T1Def", TKind::Text, 0, "Основная тактика", "Main Tactic"},
    {"T2Def", TKind::Text, 0, "Доп. тактика", "Second tactic"},
    {"PoorD", TKind::Text, 0, "Убогий", "VeryPoor"},
    {"NormalD", TKind::Text, 0, "Нормально", "Normal"},
    {"SuperD", TKind::Text, 0, "Круто", "Superb"},
    {"LabelTT", TKind::Text, 0, "Командные установки", "Team instructions"},
    {"LabelPT", TKind::Text, 0, "Установки игрокам", "Players instructions"},
    {"HideNo", TKind::Text, 0, "Спрятать \"No\"", "Hide \"No\""},
    {"HideTeam", TKind::Text, 0, "Спрятать \"Team\"", "Hide \"Team\""},
    {"", TKind::Credit, 1, nullptr, nullptr},
    {"", TKind::Credit, 2, nullptr, nullptr},
    {"", TKind::Credit, 5, nullptr, nullptr},
    {"Warning", TKind::Text, 0, "Эти примочки тестируются!", "These features are tested!"},
};
// clang-format on

QString TextOf(const TMainForm& form, const TTranslated& entry) {
    const QString name = QString::fromLatin1(entry.Control);
    switch (entry.Kind) {
    case TKind::Tab:
        return form.findChild<QTabWidget*>(name)->tabText(entry.Index);
    case TKind::Text:
        if (auto* label = form.findChild<QLabel*>(name))
            return label->text();
        return form.findChild<QAbstractButton*>(name)->text();
    case TKind::Title:
        return form.findChild<QGroupBox*>(name)->title();
    case TKind::Item:
        return form.findChild<TRadioGroup*>(name)->ItemText(entry.Index);
    case TKind::Credit:
        return QString::fromStdString(form.Credits()[static_cast<std::size_t>(entry.Index)]);
    }
    return {};
}

// Everything the user sees besides the translated texts.
QStringList Untranslated(const TMainForm& form) {
    QStringList texts;
    for (int i = 1; i <= 7; ++i) {
        texts << Find<QLabel>(form, qPrintable(QStringLiteral("LabelTi%1").arg(i)))->text();
        texts << Find<QLabel>(form, qPrintable(QStringLiteral("Ti%1").arg(i)))->text();
    }
    const auto* grid = Find<QTableWidget>(form, "PlayersGrid");
    for (int c = 0; c < grid->columnCount(); ++c)
        texts << grid->horizontalHeaderItem(c)->text() << grid->item(3, c)->text();
    for (const char* name : {"LabelTN1", "LabelTN2", "LabelDone"})
        texts << Find<QLabel>(form, name)->text();
    for (const char* name : {"Browse1", "Browse2", "BtnRussian", "BtnEnglish", "BtnSave"})
        texts << Find<QAbstractButton>(form, name)->text();
    for (QWidget* widget : form.findChildren<QWidget*>())
        texts << widget->toolTip();
    texts << form.windowTitle();
    for (int line : {0, 3, 4})
        texts << QString::fromStdString(form.Credits()[static_cast<std::size_t>(line)]);
    return texts;
}

// The state a language switch must leave alone.
QStringList State(const TMainForm& form) {
    QStringList state;
    for (QAbstractButton* button : form.findChildren<QAbstractButton*>())
        state << QStringLiteral("%1=%2").arg(button->objectName()).arg(button->isChecked());
    for (const char* name : {"CheckMainColor", "CheckSecondColor"})
        state << QString::number(Find<TRadioGroup>(form, name)->ItemIndex());
    state << QString::number(Find<QTabWidget>(form, "PageControl")->currentIndex());
    state << form.MainTacticFile() << QString::number(form.BallZone());
    return state;
}

} // namespace

class TestLanguages : public QObject, private TFormFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { StopWindow(); }

    void everyTranslatedTextSwitchesAndComesBack();
    void creditLinesKeepTheirForm();
    void otherTextsStayEnglish();
    void switchingChangesNothingElse();
    void creditsChangeFromTheNextFrame();

private:
    void Switch(bool russian) {
        QTest::mouseClick(Find<QPushButton>(*Form, russian ? "BtnRussian" : "BtnEnglish"),
                          Qt::LeftButton);
    }
};

void TestLanguages::init() {
    StartWindow();
    Load(*Form, Dialogs, 1, Game->WriteTactic("my442.tct", SampleTactic(1)));
}

void TestLanguages::everyTranslatedTextSwitchesAndComesBack() {
    QCOMPARE(std::size(Table), std::size_t{47});
    for (const TTranslated& entry : Table)
        if (entry.English)
            QCOMPARE(TextOf(*Form, entry), QString::fromUtf8(entry.English));
    const QStringList english = [&] {
        QStringList texts;
        for (const TTranslated& entry : Table)
            texts << TextOf(*Form, entry);
        return texts;
    }();

    Switch(true);
    for (const TTranslated& entry : Table)
        if (entry.Russian)
            QCOMPARE(TextOf(*Form, entry), QString::fromUtf8(entry.Russian));
    // Again: nothing changes.
    Switch(true);
    QCOMPARE(TextOf(*Form, Table[0]), QStringLiteral("Основная"));

    Switch(false);
    for (std::size_t i = 0; i < std::size(Table); ++i)
        QCOMPARE(TextOf(*Form, Table[i]), english[static_cast<qsizetype>(i)]);
    Switch(false);
    QCOMPARE(TextOf(*Form, Table[14]), QStringLiteral("Custom"));
}

void TestLanguages::creditLinesKeepTheirForm() {
    for (bool russian : {true, false}) {
        Switch(russian);
        const auto& credits = Form->Credits();
        // A label padded to 23 characters, a colon and a blank, then a name.
        for (int line : {1, 2}) {
            const QString text = QString::fromStdString(credits[static_cast<std::size_t>(line)]);
            QCOMPARE(text.indexOf(QLatin1Char(':')), 23);
            QCOMPARE(text.mid(23, 2), QStringLiteral(": "));
            QVERIFY(text.contains(QStringLiteral("Pitchwright")));
        }
        const QString notice = QString::fromStdString(credits[5]);
        if (russian) {
            QVERIFY(notice.startsWith(QStringLiteral("Все права")));
            QVERIFY(!notice.contains(QStringLiteral("Pitchwright")));
        } else {
            QVERIFY(notice.startsWith(QStringLiteral("         ")) &&
                    notice[9] != QLatin1Char(' '));
            QVERIFY(notice.contains(QStringLiteral("Pitchwright")));
        }
    }
}

void TestLanguages::otherTextsStayEnglish() {
    const QStringList before = Untranslated(*Form);
    Switch(true);
    QCOMPARE(Untranslated(*Form), before);
    // Message boxes too.
    Dialogs.setNextAnswer(QMessageBox::Cancel);
    QTest::mouseClick(Find<QPushButton>(*Form, "BtnSave"), Qt::LeftButton);
    QCOMPARE(Dialogs.messages().last().Caption, QStringLiteral("Overwrite tactic?"));
    QVERIFY(Dialogs.messages().last().Text.startsWith(QStringLiteral("Overwrite tactic MY442?")));
    Load(*Form, Dialogs, 2, Game->Tactics() + "/missing.tct");
    QVERIFY(Dialogs.messages().last().Text.startsWith(QStringLiteral("Could not load tactic ")));
}

void TestLanguages::switchingChangesNothingElse() {
    Click(Find<QAbstractButton>(*Form, "SmoothMove"));
    Click(Find<TRadioGroup>(*Form, "CheckMainColor")->Item(2));
    Click(Find<TRadioGroup>(*Form, "CheckSecondColor")->Item(1));
    Load(*Form, Dialogs, 2, Game->WriteTactic("433.tct", SampleTactic(2)));
    ChoosePage(*Form, 1);
    const QStringList state = State(*Form);
    const QImage picture = Form->Renderer().Picture().copy();
    const TCmTactic main = Form->MainTactic();
    Switch(true);
    QCOMPARE(State(*Form), state);
    QCOMPARE(Form->Renderer().Picture(), picture);
    QCOMPARE(Form->MainTactic().Players[4].Instr, main.Players[4].Instr);
    QCOMPARE(Find<QLabel>(*Form, "LabelTN2")->text(), QStringLiteral("433"));
    Switch(false);
    QCOMPARE(State(*Form), state);
    QVERIFY(Dialogs.colorRequests().isEmpty());
}

void TestLanguages::creditsChangeFromTheNextFrame() {
    // Credits held still, so that only the switch could draw.
    auto* hide = Find<QAbstractButton>(*Form, "HideLogo");
    QTRY_VERIFY(Form->Renderer().CreditsTop() < 380);
    Click(hide);
    const QImage before = Form->Renderer().Picture().copy();
    const std::string english = Form->Credits()[1];
    Switch(true);
    QVERIFY(Form->Credits()[1] != english);
    // Stored only: nothing is drawn until the next frame.
    QCOMPARE(Form->Renderer().Picture(), before);
    Click(hide);
    QTRY_VERIFY(Form->Renderer().Picture() != before);
}

QTEST_MAIN(TestLanguages)
#include "test_languages.moc"
