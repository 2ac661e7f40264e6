#pragma once

// The window's suites share a Wine prefix with the game in it, tactic files
// written by the project's codec, and the window started with scripted dialogs.

#include "ScriptedDialogs.h"
#include "editor/Mainunit.h"
#include "tactic/Cm_codes.h"
#include "tactic/Cm_tactic.h"
#include "tests/common/WinePrefix.h"

#include <QTemporaryDir>
#include <QtTest>
#include <QtWidgets>

#include <memory>

namespace guitest {

template <typename T = QWidget>
T* Find(const QObject& form, const char* name) {
    return form.findChild<T*>(QString::fromLatin1(name));
}

class TGameFolder {
public:
    TGameFolder() { // system.reg records the game at C:\CM0001
        pwtest::MakeWinePrefix(QFile::encodeName(Dir.path()).toStdString(),
                               pwtest::WineRegistry(pwtest::GameKeyLine() +
                                                    "\"Location\"=\"C:\\\\CM0001\"\n"
                                                    "\"Version\"=\"1.0\"\n"));
        QDir(Dir.path()).mkpath(QStringLiteral("drive_c/CM0001/tactics"));
    }
    QString Prefix() const { return Dir.path(); }
    QString Tactics() const {
        return QDir(Dir.path()).canonicalPath() + QStringLiteral("/drive_c/CM0001/tactics");
    }
    QString WriteBytes(const QString& name, const QByteArray& bytes) const {
        const QString path = QDir::cleanPath(Tactics() + QLatin1Char('/') + name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    // `tactic` in a new file of `size` bytes whose other bytes hold a pattern.
    QString WriteTactic(const QString& name, const TCmTactic& tactic, int size = 1600) const {
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 13 + 5);
        const QString path = WriteBytes(name, bytes);
        if (!TCmTactic(tactic).Save(QFile::encodeName(path).toStdString()))
            qFatal("cannot save %s", qPrintable(path));
        return path;
    }

private:
    QTemporaryDir Dir;
};

// Every value of every column, positions differing by player, zone, phase and `seed`.
inline TCmTactic SampleTactic(int seed) {
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

inline QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The codec's bytes of a tactic: two tactics are the same when these are.
inline QByteArray Encoded(TCmTactic tactic) {
    TCmRegion region{};
    tactic.Encode(region);
    return QByteArray(reinterpret_cast<const char*>(region.data()), region.size());
}

// The window on the game folder; none when the user chose not to go on without the game.
inline std::unique_ptr<TMainForm> StartForm(TScriptedDialogs& dialogs, const TGameFolder& game) {
    qputenv("WINEPREFIX", QFile::encodeName(game.Prefix()));
    auto form = std::make_unique<TMainForm>(dialogs);
    if (form->StartupDeclined())
        return nullptr;
    form->show();
    return form;
}

// Browse1 (tag 1) or Browse2 (tag 2), the open dialog answering `path`.
inline void Load(TMainForm& form, TScriptedDialogs& dialogs, int tag, const QString& path) {
    dialogs.setNextFileName(path);
    QTest::mouseClick(Find<QAbstractButton>(form, tag == 1 ? "Browse1" : "Browse2"),
                      Qt::LeftButton);
}

// On its box, where a click always lands.
inline void Click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
}

// By its tab.
inline void ChoosePage(TMainForm& form, TPage page) {
    QTabBar* tabs = Find<QTabWidget>(form, "PageControl")->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(static_cast<int>(page)).center());
}

// A click on a cell of the players grid (column 1..14, row 1..11), then a
// pick of `value`, unless null, in the combo's list.
inline void PickInGrid(TMainForm& form, int column, int row, const QString& value = {}) {
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

class TFormFixture {
protected:
    void StartWindow() { // a new game folder and the window on it
        Form.reset();
        Game = std::make_unique<TGameFolder>();
        Form = StartForm(Dialogs, *Game);
    }
    void StopWindow() {
        Form.reset();
        Game.reset();
    }

    TScriptedDialogs Dialogs;
    std::unique_ptr<TGameFolder> Game;
    std::unique_ptr<TMainForm> Form;
};

// Compares a picture with the golden `folder`/`name`.png, or rewrites the
// golden when PW_UPDATE_GOLDEN is set; a differing picture is saved beside
// the test as `name`.actual.png.
inline void CompareGolden(const QImage& image, const QString& folder, const QString& name) {
    const QString path = folder + "/" + name + ".png";
    const QImage actual = image.convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariableIsSet("PW_UPDATE_GOLDEN")) {
        // A palette keeps the file small and is exact up to 256 colours.
        const QImage small = actual.convertToFormat(QImage::Format_Indexed8, Qt::AvoidDither);
        QVERIFY((small.convertToFormat(QImage::Format_RGB32) == actual ? small : actual)
                    .save(path, "PNG", 0));
    } else if (QImage(path).convertToFormat(QImage::Format_RGB32) != actual) {
        actual.save(name + ".actual.png");
        QFAIL(qPrintable(path + " differs from the picture, saved as " + name + ".actual.png"));
    }
}

} // namespace guitest
