<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>TLoadPanel</name>
    <message>
        <source>Main tactic</source>
        <translation>Основная тактика</translation>
    </message>
    <message>
        <source>Second tactic</source>
        <translation>Доп. тактика</translation>
    </message>
    <message>
        <source>Saved</source>
        <translation>Сохранено</translation>
    </message>
    <message>
        <source>Save a copy…</source>
        <translation>Сохранить копию…</translation>
    </message>
    <message>
        <source>Save picture…</source>
        <translation>Сохранить картинку…</translation>
    </message>
    <message>
        <source>Save tactic sheet…</source>
        <translation>Сохранить лист тактики…</translation>
    </message>
    <message>
        <source>Zones overview</source>
        <translation>Обзор зон</translation>
    </message>
</context>
<context>
    <name>TMainForm</name>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>Картинки PNG (*.png)</translation>
    </message>
    <message>
        <source>PNG pictures (*.png);;PDF documents (*.pdf)</source>
        <translation>Картинки PNG (*.png);;Документы PDF (*.pdf)</translation>
    </message>
    <message>
        <source>Move the outfield</source>
        <translation>Сдвиг полевых игроков</translation>
    </message>
    <message>
        <source>Move player %1</source>
        <translation>Сдвиг игрока %1</translation>
    </message>
</context>
<context>
    <name>TPageControl</name>
    <message>
        <source>General</source>
        <translation>Основная</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>Сравнение</translation>
    </message>
    <message>
        <source>Anti</source>
        <translation>Анти</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Настройки</translation>
    </message>
</context>
<context>
    <name>TPitchPanel</name>
    <message>
        <source>With Ball</source>
        <translation>С мячом</translation>
    </message>
    <message>
        <source>Without Ball</source>
        <translation>Без мяча</translation>
    </message>
    <message>
        <source>No player chosen</source>
        <translation>Игрок не выбран</translation>
    </message>
    <message>
        <source>Player %1 chosen, in cell X %2, Y %3</source>
        <translation>Выбран игрок %1, клетка X %2, Y %3</translation>
    </message>
</context>
<context>
    <name>TTacticSheet</name>
    <message>
        <source>Attacking potential: %1</source>
        <translation>Атакующий потенциал: %1</translation>
    </message>
    <message>
        <source>Defence potential: %1</source>
        <translation>Защитный потенциал: %1</translation>
    </message>
    <message>
        <source>With Ball</source>
        <translation>С мячом</translation>
    </message>
    <message>
        <source>Without Ball</source>
        <translation>Без мяча</translation>
    </message>
    <message>
        <source>Zone %1, with ball</source>
        <translation>Зона %1, с мячом</translation>
    </message>
    <message>
        <source>Zone %1, without ball</source>
        <translation>Зона %1, без мяча</translation>
    </message>
    <message>
        <source>Team instructions</source>
        <translation>Командные установки</translation>
    </message>
    <message>
        <source>Players instructions</source>
        <translation>Установки игрокам</translation>
    </message>
</context>
<context>
    <name>pages::TAntiPage</name>
    <message>
        <source>Make &quot;real&quot; offside trap</source>
        <translation>Сделать &quot;настоящие&quot; оффсайды</translation>
    </message>
    <message>
        <source>Make marking more close</source>
        <translation>Сделать опеку более жесткой</translation>
    </message>
    <message>
        <source>These features are tested!</source>
        <translation>Эти примочки тестируются!</translation>
    </message>
</context>
<context>
    <name>pages::TComparePage</name>
    <message>
        <source>Attacking potential</source>
        <translation>Атакующий потенциал</translation>
    </message>
    <message>
        <source>Main Tactic</source>
        <translation>Основная тактика</translation>
    </message>
    <message>
        <source>Second tactic</source>
        <translation>Доп. тактика</translation>
    </message>
    <message>
        <source>VeryPoor</source>
        <translation>Убогий</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Нормально</translation>
    </message>
    <message>
        <source>Superb</source>
        <translation>Круто</translation>
    </message>
    <message>
        <source>Defence potential</source>
        <translation>Защитный потенциал</translation>
    </message>
</context>
<context>
    <name>pages::TInstructionsPage</name>
    <message>
        <source>Select new value for this team instruction</source>
        <translation>Выберите новое значение этой командной установки</translation>
    </message>
    <message>
        <source>Team instructions</source>
        <translation>Командные установки</translation>
    </message>
    <message>
        <source>Players instructions</source>
        <translation>Установки игрокам</translation>
    </message>
    <message>
        <source>Hide &quot;No&quot;</source>
        <translation>Спрятать &quot;No&quot;</translation>
    </message>
    <message>
        <source>Hide &quot;Team&quot;</source>
        <translation>Спрятать &quot;Team&quot;</translation>
    </message>
</context>
<context>
    <name>pages::TOptionsPage</name>
    <message>
        <source>General Options</source>
        <translation>Основные настройки</translation>
    </message>
    <message>
        <source>Image Options</source>
        <translation>Настройка картинки</translation>
    </message>
    <message>
        <source>Main tactic colors</source>
        <translation>Основная тактика</translation>
    </message>
    <message>
        <source>Zenit</source>
        <translation>Зенит</translation>
    </message>
    <message>
        <source>CSKA</source>
        <translation>ЦСКА</translation>
    </message>
    <message>
        <source>AC Milan</source>
        <translation>Милан</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Другое</translation>
    </message>
    <message>
        <source>Second tactic colors</source>
        <translation>Доп.тактика</translation>
    </message>
    <message>
        <source>Spartak M</source>
        <translation>Мясо</translation>
    </message>
    <message>
        <source>Alania</source>
        <translation>Алания</translation>
    </message>
    <message>
        <source>Internazionale</source>
        <translation>Интер</translation>
    </message>
    <message>
        <source>Smooth movement</source>
        <translation>Сглаживать движение</translation>
    </message>
    <message>
        <source>Text without background</source>
        <translation>Текст без фона</translation>
    </message>
    <message>
        <source>Hide logo</source>
        <translation>Спрятать титры</translation>
    </message>
    <message>
        <source>Show hints</source>
        <translation>Показывать подсказки</translation>
    </message>
    <message>
        <source>Reserve copy</source>
        <translation>Резервное копирование</translation>
    </message>
    <message>
        <source>Idea                   : Pitchwright team</source>
        <translation>Идея                   : Pitchwright</translation>
    </message>
    <message>
        <source>Author                 : Pitchwright team</source>
        <translation>Автор                  : Pitchwright</translation>
    </message>
    <message>
        <source>         (c) 2026 Pitchwright team</source>
        <translation>Все права принадлежат их владельцам.</translation>
    </message>
</context>
<context>
    <name>TOverviewView</name>
    <message>
        <source>left</source>
        <translation>слева</translation>
    </message>
    <message>
        <source>centre</source>
        <translation>в центре</translation>
    </message>
    <message>
        <source>right</source>
        <translation>справа</translation>
    </message>
    <message>
        <source>own goal</source>
        <translation>у своих ворот</translation>
    </message>
    <message>
        <source>own half</source>
        <translation>своя половина</translation>
    </message>
    <message>
        <source>opponent&apos;s half</source>
        <translation>чужая половина</translation>
    </message>
    <message>
        <source>opponent&apos;s goal</source>
        <translation>у чужих ворот</translation>
    </message>
    <message>
        <source>Ball zone %1: %2, %3</source>
        <translation>Зона мяча %1: %2, %3</translation>
    </message>
    <message>
        <source>Second tactic&apos;s player %1</source>
        <translation>Игрок %1 доп. тактики</translation>
    </message>
    <message>
        <source>Player %1</source>
        <translation>Игрок %1</translation>
    </message>
</context>
<context>
    <name>TShapeCommands</name>
    <message>
        <source>Copy shape to another zone…</source>
        <translation>Копировать расстановку в другую зону…</translation>
    </message>
    <message>
        <source>Copy shape to every zone of the row</source>
        <translation>Копировать расстановку во все зоны ряда</translation>
    </message>
    <message>
        <source>Copy shape to every zone of the column</source>
        <translation>Копировать расстановку во все зоны колонны</translation>
    </message>
    <message>
        <source>Copy shape to the other phase</source>
        <translation>Копировать расстановку в другую фазу</translation>
    </message>
    <message>
        <source>Mirror to the other flank…</source>
        <translation>Отразить на другой фланг…</translation>
    </message>
    <message>
        <source>Mirror the whole tactic…</source>
        <translation>Отразить всю тактику…</translation>
    </message>
    <message>
        <source>Copy the positions of the zone shown to a zone clicked in the zones overview</source>
        <translation>Копировать позиции показанной зоны в зону, выбранную щелчком в обзоре зон</translation>
    </message>
    <message>
        <source>Copy the positions of the zone shown to the three zones across the pitch</source>
        <translation>Копировать позиции показанной зоны в три зоны поперёк поля</translation>
    </message>
    <message>
        <source>Copy the positions of the zone shown to the four zones along the pitch</source>
        <translation>Копировать позиции показанной зоны в четыре зоны вдоль поля</translation>
    </message>
    <message>
        <source>Copy the positions of the zone shown to the same zone in the other phase</source>
        <translation>Копировать позиции показанной зоны в ту же зону другой фазы</translation>
    </message>
    <message>
        <source>Mirror the zone shown onto the zone of the other flank; counterparts swap places</source>
        <translation>Отразить показанную зону на зону другого фланга; симметричные игроки меняются местами</translation>
    </message>
    <message>
        <source>Mirror every zone in both phases; counterparts swap places</source>
        <translation>Отразить все зоны в обеих фазах; симметричные игроки меняются местами</translation>
    </message>
    <message>
        <source>copy shape to the row</source>
        <translation>копирование расстановки в ряд</translation>
    </message>
    <message>
        <source>copy shape to the column</source>
        <translation>копирование расстановки в колонну</translation>
    </message>
    <message>
        <source>copy shape to the other phase</source>
        <translation>копирование расстановки в другую фазу</translation>
    </message>
    <message>
        <source>mirror to the other flank</source>
        <translation>отражение на другой фланг</translation>
    </message>
    <message>
        <source>mirror the whole tactic</source>
        <translation>отражение всей тактики</translation>
    </message>
    <message>
        <source>copy shape to zone %1</source>
        <translation>копирование расстановки в зону %1</translation>
    </message>
    <message>
        <source>mirror themselves</source>
        <translation>отражаются сами</translation>
    </message>
    <message>
        <source>Mirror the shape of zone %1 onto zone %2?</source>
        <translation>Отразить расстановку зоны %1 на зону %2?</translation>
    </message>
    <message>
        <source>with ball, row %1</source>
        <translation>с мячом, ряд %1</translation>
    </message>
    <message>
        <source>without ball, row %1</source>
        <translation>без мяча, ряд %1</translation>
    </message>
    <message>
        <source>Mirror every zone in both phases?</source>
        <translation>Отразить все зоны в обеих фазах?</translation>
    </message>
</context>
<context>
    <name>TZonesWindow</name>
    <message>
        <source>Copy or mirror the shape of the zone shown</source>
        <translation>Копировать или отразить расстановку показанной зоны</translation>
    </message>
    <message>
        <source>Click the zone to copy the shape to (Escape cancels)</source>
        <translation>Щёлкните зону, в которую скопировать расстановку (Escape — отмена)</translation>
    </message>
    <message>
        <source>Zones overview</source>
        <translation>Обзор зон</translation>
    </message>
    <message>
        <source>Pause (Space)</source>
        <translation>Пауза (пробел)</translation>
    </message>
    <message>
        <source>Play the tactic (Space)</source>
        <translation>Проиграть тактику (пробел)</translation>
    </message>
    <message>
        <source>Previous zone of the route</source>
        <translation>Предыдущая зона маршрута</translation>
    </message>
    <message>
        <source>Next zone of the route</source>
        <translation>Следующая зона маршрута</translation>
    </message>
    <message>
        <source>Speed of play</source>
        <translation>Скорость проигрывания</translation>
    </message>
    <message>
        <source>Slow</source>
        <translation>Медленно</translation>
    </message>
    <message>
        <source>Normal</source>
        <translation>Обычно</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Быстро</translation>
    </message>
    <message>
        <source>Make a route: click the zones in order</source>
        <translation>Составить маршрут: щёлкайте зоны по порядку</translation>
    </message>
    <message>
        <source>Clear the route (back to the default route)</source>
        <translation>Очистить маршрут (вернуть маршрут по умолчанию)</translation>
    </message>
</context>
</TS>
