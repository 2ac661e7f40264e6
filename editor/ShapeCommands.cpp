#include "editor/ShapeCommands.h"

#include "editor/Dialogs.h"
#include "pitch/PitchMap.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

#include <map>

using shapes::TCommand;

namespace {

const QKeySequence Keys[] = {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H),
                             QKeySequence(Qt::CTRL | Qt::Key_M),
                             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M)};

} // namespace

TShapeCommands::TShapeCommands(TTacticDocument& document, TDialogs& dialogs, QWidget& window,
                               std::function<bool()> ready)
    : QObject(&window)
    , Doc(document)
    , Dialogs(dialogs)
    , Window(window)
    , Ready(std::move(ready)) {
    for (int command = 0; command < shapes::CommandCount; ++command) {
        auto* action = new QAction(this);
        action->setShortcut(Keys[command]);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this,
                [this, command] { Run(static_cast<TCommand>(command)); });
        List.append(action);
    }
    window.addActions(List);
    Retranslate();
}

void TShapeCommands::Retranslate() {
    const QString texts[] = {tr("Copy shape to another zone…"),
                             tr("Copy shape to every zone of the row"),
                             tr("Copy shape to every zone of the column"),
                             tr("Copy shape to the other phase"),
                             tr("Mirror to the other flank…"),
                             tr("Mirror the whole tactic…")};
    const QString hints[] = {
        tr("Copy the positions of the zone shown to a zone clicked in the zones overview"),
        tr("Copy the positions of the zone shown to the three zones across the pitch"),
        tr("Copy the positions of the zone shown to the four zones along the pitch"),
        tr("Copy the positions of the zone shown to the same zone in the other phase"),
        tr("Mirror the zone shown onto the zone of the other flank; counterparts swap places"),
        tr("Mirror every zone in both phases; counterparts swap places")};
    for (int command = 0; command < shapes::CommandCount; ++command) {
        QAction* action = List[command];
        action->setText(texts[command]);
        action->setToolTip(QStringLiteral("%1 (%2)").arg(
            hints[command], action->shortcut().toString(QKeySequence::NativeText)));
    }
}

void TShapeCommands::Run(TCommand command) {
    if (!Ready())
        return;
    emit starting();
    if (command == TCommand::ToZone) {
        emit targetWanted();
        return;
    }
    const bool mirror = command == TCommand::MirrorFlank || command == TCommand::MirrorAll;
    if (mirror && !Confirm(command))
        return;
    const QString steps[] = {{},
                             tr("copy shape to the row"),
                             tr("copy shape to the column"),
                             tr("copy shape to the other phase"),
                             tr("mirror to the other flank"),
                             tr("mirror the whole tactic")};
    Doc.SetPositions(shapes::Apply(command, Doc.Positions(), Doc.BallZone(), Doc.WithBall()),
                     steps[static_cast<int>(command)]);
}

void TShapeCommands::CopyTo(int zone) {
    if (!Ready())
        return;
    emit starting();
    Doc.SetPositions(
        shapes::Apply(TCommand::ToZone, Doc.Positions(), Doc.BallZone(), Doc.WithBall(), zone),
        tr("copy shape to zone %1").arg(zone + 1));
}

// The pairs a mirror will swap, shown before it is made, so that a tactic
// that is not symmetric holds no surprise.
bool TShapeCommands::Confirm(TCommand command) {
    const shapes::TPositions now = Doc.Positions();
    const QString themselves = tr("mirror themselves");
    QString text;
    if (command == TCommand::MirrorFlank) {
        const int zone = Doc.BallZone();
        text = tr("Mirror the shape of zone %1 onto zone %2?")
                   .arg(zone + 1)
                   .arg(shapes::MirrorZone(zone) + 1) +
               QStringLiteral("\n\n") +
               shapes::PairsText(shapes::Counterparts(now, zone, Doc.WithBall()), themselves);
    } else {
        // One line for each pairing, with the rows and phases it holds in.
        std::map<QString, QStringList> where;
        QStringList order;
        for (bool withBall : {true, false})
            for (int row = 0; row < pitch::ZoneRows; ++row) {
                const QString pairs =
                    shapes::PairsText(shapes::Counterparts(now, row, withBall), themselves);
                if (!where.contains(pairs))
                    order << pairs;
                where[pairs] << (withBall ? tr("with ball, row %1") : tr("without ball, row %1"))
                                    .arg(row + 1);
            }
        text = tr("Mirror every zone in both phases?") + QStringLiteral("\n");
        for (const QString& pairs : order)
            text += QStringLiteral("\n") + (order.size() == 1
                                                ? pairs
                                                : where[pairs].join(QStringLiteral(", ")) +
                                                      QStringLiteral(":\n    ") + pairs);
    }
    return Dialogs.Message(&Window, QMessageBox::Question,
                           List[static_cast<int>(command)]->text().remove(u'…'), text,
                           QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
