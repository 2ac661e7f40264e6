#include "FormHarness.h"
#include "Cm_codes.h"

#include <QtTest>
#include <QtWidgets>

namespace guitest {

TGameFolder::TGameFolder() {
    QDir(Dir.path()).mkpath(QStringLiteral("drive_c/CM0001/tactics"));
    QDir(Dir.path()).mkpath(QStringLiteral("dosdevices"));
    QFile::link(QStringLiteral("../drive_c"), Dir.filePath(QStringLiteral("dosdevices/c:")));
    WriteBytes(QStringLiteral("../../../system.reg"),
               "WINE REGISTRY Version 2\n\n"
               "[Software\\\\Sports Interactive Ltd\\\\Championship Manager 00-01] 1\n"
               "\"Location\"=\"C:\\\\CM0001\"\n\"Version\"=\"1.0\"\n");
}

QString TGameFolder::Tactics() const {
    return QDir(Dir.path()).canonicalPath() + QStringLiteral("/drive_c/CM0001/tactics");
}

QString TGameFolder::WriteBytes(const QString& name, const QByteArray& bytes) const {
    const QString path = QDir::cleanPath(Tactics() + QLatin1Char('/') + name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString TGameFolder::WriteTactic(const QString& name, const TCmTactic& tactic, int size) const {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(i * 13 + 5);
    const QString path = WriteBytes(name, bytes);
    if (!TCmTactic(tactic).Save(QFile::encodeName(path).toStdString()))
        qFatal("cannot save %s", qPrintable(path));
    return path;
}

TCmTactic SampleTactic(int seed) {
    TCmTactic tactic;
    tactic.TeamInstr = {"Attacking", "Long", "Easy", "Yes", "No", "Yes", "No"};
    for (int i = 0; i < TCmTactic::PlayerCount; ++i) {
        TCmPlayer& player = tactic.Players[i];
        for (int c = 1; c <= 13; ++c) {
            const auto values = cm_codes::PlayerInstrValues(c);
            player.Instr[c] = values[(i + c + seed) % values.size()];
        }
        for (int z = 0; z < TCmPlayer::ZoneCount; ++z) {
            player.WithBall[z] = {(2 * i + z + seed) % 27, (3 * i + z + seed) % 36};
            player.WithoutBall[z] = {(5 * i + z + seed) % 27, (i + 2 * z + seed) % 36};
        }
    }
    return tactic;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Encoded(TCmTactic tactic) {
    TCmRegion region{};
    tactic.Encode(region);
    return QByteArray(reinterpret_cast<const char*>(region.data()), region.size());
}

std::unique_ptr<TMainForm> StartForm(TScriptedDialogs& dialogs, const TGameFolder& game) {
    qputenv("WINEPREFIX", QFile::encodeName(game.Prefix()));
    auto form = std::make_unique<TMainForm>(dialogs);
    if (form->StartupDeclined())
        return nullptr; // the user chose not to go on without the game
    form->show();
    return form;
}

void TFormFixture::StartWindow() {
    Form.reset();
    Game = std::make_unique<TGameFolder>();
    Form = StartForm(Dialogs, *Game);
}

void TFormFixture::StopWindow() {
    Form.reset();
    Game.reset();
}

void Load(TMainForm& form, TScriptedDialogs& dialogs, int tag, const QString& path) {
    dialogs.setNextFileName(path);
    QTest::mouseClick(Find<QAbstractButton>(form, tag == 1 ? "Browse1" : "Browse2"),
                      Qt::LeftButton);
}

void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

void ChoosePage(TMainForm& form, int index) {
    QTabBar* tabs = Find<QTabWidget>(form, "PageControl")->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(index).center());
}

void PickInGrid(TMainForm& form, int column, int row, const QString& value) {
    auto* grid = Find<QTableWidget>(form, "PlayersGrid");
    QTableWidgetItem* item = grid->item(row - 1, column - 1);
    grid->scrollToItem(item);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(item).center());
    auto* combo = Find<QComboBox>(form, "ComboValue");
    if (value.isNull())
        return;
    if (combo->findText(value) < 0)
        qFatal("no %s in column %d", qPrintable(value), column);
    combo->showPopup();
    QAbstractItemView* list = combo->view();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(combo->findText(value), 0)).center());
}

} // namespace guitest
