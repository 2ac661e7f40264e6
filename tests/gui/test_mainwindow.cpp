// The main window as the user finds it at each stage, in both languages; the
// start-up as the registry shapes it; the handler of escaping exceptions.
#include "Application.h"
#include "FormHarness.h"

#include <QtTest>
#include <QtWidgets>

using namespace guitest;

namespace {

// Every control's class, name, place, state, pointer, font, hint and text,
// and the credits: what the user meets, one line each.
QString Controls(const TMainForm& form) {
    QStringList lines;
    for (const std::string& credit : form.Credits())
        lines << QString::fromStdString(credit);
    for (const QWidget* w : form.findChildren<QWidget*>()) {
        QString line;
        QDebug(&line) << w->metaObject()->className() << w->objectName() << w->geometry()
                      << w->isVisibleTo(&form) << w->isEnabled() << w->cursor().shape()
                      << w->font().pointSize() << w->toolTip() << w->property("tag")
                      << w->property("text") << w->property("title") << w->property("checked")
                      << w->property("minimum") << w->property("maximum") << w->property("value");
        if (const auto* tabs = qobject_cast<const QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                QDebug(&line) << tabs->tabText(i) << tabs->isTabVisible(i) << tabs->currentIndex();
        if (const auto* grid = qobject_cast<const QTableWidget*>(w))
            for (int r = 0; r < grid->rowCount(); ++r)
                for (int c = -1; c < grid->columnCount(); ++c)
                    QDebug(&line)
                        << (c < 0 ? grid->verticalHeaderItem(r) : grid->item(r, c))->text();
        lines << line;
    }
    lines.sort();
    return lines.join('\n');
}

} // namespace

class TestMainWindow : public QObject, private TFormFixture {
    Q_OBJECT
    TScriptedDialogs* AppDialogs = nullptr;

public:
    explicit TestMainWindow(TScriptedDialogs& dialogs)
        : AppDialogs(&dialogs) {}

private slots:
    void cleanup() { StopWindow(); }

    // The whole window after the row's steps, done in turn; a change prints
    // the new lines and hashes.
    void stages_data() {
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("controls");
        QTest::addColumn<QString>("picture");
        QTest::addRow("started") << 0 << "722df1e7afcb81df"
                                 << "ea7ebea0686f3eef";
        QTest::addRow("main tactic loaded") << 1 << "5515e4871b020d20"
                                            << "d94c39452f5ca9a8";
        QTest::addRow("second loaded, General page, cell picked") << 2 << "c1b670cd6a56363f"
                                                                  << "c155267d2d3b34bc";
        QTest::addRow("Russian, Compare page") << 3 << "f4e8bfbad76b85df"
                                               << "2949d7a12d4c109c";
        QTest::addRow("Anti page, hints off") << 4 << "58b514421dde04df"
                                              << "b7c04de202039b33";
        QTest::addRow("English again, Options page") << 5 << "bf8a08534c47187e"
                                                     << "74cf523bee6bda1d";
    }
    void stages() {
        QFETCH(int, steps);
        QFETCH(QString, controls);
        QFETCH(QString, picture);
        StartWindow();
        Click(Find<QAbstractButton>(*Form, "HideLogo")); // credits held still
        const auto language = [&](const char* button) {
            QTest::mouseClick(Find<QPushButton>(*Form, button), Qt::LeftButton);
        };
        const std::function<void()> step[] = {
            [&] { Load(*Form, Dialogs, 1, Game->WriteTactic("my442.tct", SampleTactic(1))); },
            [&] {
                Load(*Form, Dialogs, 2, Game->WriteTactic("433.tct", SampleTactic(2)));
                ChoosePage(*Form, 0);
                ClickCell(*Form, 3, 5);
            },
            [&] { language("BtnRussian"), ChoosePage(*Form, 1); },
            [&] { ChoosePage(*Form, 2), Click(Find<QAbstractButton>(*Form, "CheckHints")); },
            [&] { language("BtnEnglish"), ChoosePage(*Form, 3); }};
        for (int i = 0; i < steps; ++i)
            step[i]();
        QTest::mouseMove(Form.get(), QPoint(400, 470)); // no control under the mouse
        QVERIFY(Dialogs.messages().isEmpty());
        const QImage shot = Form->grab().toImage();
        const auto expect = [](const char* what, const QByteArray& bytes, const QString& hash) {
            const QString actual =
                QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex().left(16);
            if (actual != hash && qstrcmp(what, "controls") == 0)
                qWarning().noquote() << bytes;
            QVERIFY2(actual == hash, qPrintable(QStringLiteral("%1: %2").arg(what, actual)));
        };
        expect("controls", Controls(*Form).toUtf8(), controls);
        expect("picture",
               QByteArray::fromRawData(reinterpret_cast<const char*>(shot.constBits()),
                                       shot.sizeInBytes()),
               picture);
        // Centred with its frame, as a window manager shows it.
        const QPoint off =
            Form->frameGeometry().center() - Form->screen()->availableGeometry().center();
        QVERIFY(Form->frameGeometry() != Form->geometry() && qAbs(off.x()) <= 1 &&
                qAbs(off.y()) <= 1);
    }

    // The Russian catalogue holds every text the program marks for translation.
    void catalogueIsComplete() {
        QTranslator russian;
        QVERIFY(russian.load(QStringLiteral(":/i18n/pitchwright_ru.qm")));
        QFile source(PW_SOURCE_DIR "/editor/Mainunit.cpp");
        QVERIFY(source.open(QIODevice::ReadOnly));
        const QRegularExpression marked(
            "QT_TRANSLATE_NOOP\\(\"TMainForm\",\\s*\"((?:[^\"\\\\]|\\\\.)*)\"\\)");
        int texts = 0;
        for (const auto& match : marked.globalMatch(QString::fromUtf8(source.readAll()))) {
            const QString text = match.captured(1).replace("\\\"", "\"");
            QVERIFY2(!russian.translate("TMainForm", qPrintable(text)).isEmpty(), qPrintable(text));
            ++texts;
        }
        QVERIFY(texts > 30);
    }

    void startUpFollowsTheRegistry_data() {
        QTest::addColumn<QByteArray>("values");
        QTest::addColumn<int>("answer");     // to the question whether to go on without the game
        QTest::addColumn<QString>("folder"); // where the open dialog starts; empty: no window
        QTest::addRow("no game, go on")
            << QByteArray() << int(QMessageBox::Yes) << "CM 00-01 not found/tactics";
        QTest::addRow("no game, end") << QByteArray() << int(QMessageBox::No) << "";
        QTest::addRow("no Location") << QByteArray("\"Version\"=\"1.0\"\n") << 0 << "/tactics";
        QTest::addRow("Location not text")
            << QByteArray("\"Location\"=dword:00000007\n") << 0 << "";
    }
    void startUpFollowsTheRegistry() {
        QFETCH(QByteArray, values);
        QFETCH(int, answer);
        QFETCH(QString, folder);
        TGameFolder game;
        const QByteArray key =
            "[Software\\\\Sports Interactive Ltd\\\\Championship Manager 00-01] 1\n";
        game.WriteBytes("../../../system.reg",
                        "WINE REGISTRY Version 2\n\n" + (values.isEmpty() ? "" : key + values));
        AppDialogs->clearLog();
        AppDialogs->setNextAnswer(static_cast<QMessageBox::StandardButton>(answer));
        if (values.startsWith("\"Location\"")) {
            QVERIFY_THROWS_EXCEPTION(std::runtime_error, StartForm(*AppDialogs, game));
            QVERIFY(AppDialogs->messages().isEmpty());
            return;
        }
        Form = StartForm(*AppDialogs, game);
        QCOMPARE(AppDialogs->messages().size(), answer ? 1 : 0);
        if (answer)
            QCOMPARE(AppDialogs->messages()[0].Text,
                     "CM 00-01 not found in registry!\n\rIgnore this message & continue?");
        QCOMPARE(Form == nullptr, folder.isEmpty());
        if (Form) {
            Load(*Form, *AppDialogs, 1, "");
            QCOMPARE(QDir::fromNativeSeparators(AppDialogs->openRequests().last().Folder), folder);
        }
    }

    void escapingExceptionIsShownAndTheProgramGoesOn() {
        struct TThrower : QObject {
            bool event(QEvent*) override { throw std::runtime_error("handler failed"); }
        } thrower;
        QEvent event(QEvent::User);
        AppDialogs->clearLog();
        QVERIFY(!QApplication::sendEvent(&thrower, &event));
        QCOMPARE(AppDialogs->messages().size(), 1);
        QCOMPARE(AppDialogs->messages()[0].Caption + ": " + AppDialogs->messages()[0].Text,
                 "Pitchwright: handler failed");
    }
};

int main(int argc, char** argv) {
    TScriptedDialogs dialogs;
    TApplication app(argc, argv, dialogs);
    TestMainWindow test(dialogs);
    return QTest::qExec(&test, argc, argv);
}

#include "test_mainwindow.moc"
