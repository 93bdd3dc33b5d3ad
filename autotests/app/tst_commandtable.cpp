// The menu, tool bar and command table of the main window, checked against
// the table below (written from the requirements, not from the code).
#include "app/menustyle.h"
#include "framefixture.h"

#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

using namespace kia;

namespace {

struct Row {
    int id;
    const char16_t* text; // empty: the command has no menu item
    const char16_t* prompt;
    const char* enabled; // "" always, "0..3" or "4"
};

// clang-format off
const Row Table[] = {
    {32786, u"Тест &шин контроллера", u"Тест шин контроллера", ""},
    {32788, u"Тест &ПЗУ", u"Тест ПЗУ", ""},
    {32787, u"Тест &ОЗУ", u"Тест ОЗУ", ""},
    {32789, u"Тест &таймера", u"Тест таймера", ""},
    {32790, u"Тест &РПЗУ  ( 28C256)", u"Тест РПЗУ", ""},
    {32791, u"Тест РП&ЗУ  ( 24C256 )", u"Тест РПЗУ ( 24C256 )", "0..3"},
    {32794, u"Проверка &чистоты", u"Проверка чистоты ФП", ""},
    {32795, u"Тест &записи", u"Тест записи ФП", "0..3"},
    {32842, u"Тест ППИ ( 82С55 )", u"Тест ППИ ( 82С55 )", "0..3"},
    {32798, u"Тест записи/чтения", u"Тест записи/чтения индикатора кассира", ""},
    {32837, u"Тест ж/к ячеек и курсора", u"Тест жидко-кристаллических ячеек и курсора индикатора", ""},
    {32840, u"Тест записи/чтения", u"Тест записи/чтения индикатора покупателя", ""},
    {32841, u"Тест ж/к ячеек и курсора", u"Тест жидко-кристаллических ячеек и курсора индикатора", ""},
    {32802, u"Тест з&вука", u"Тест звукового излучателя", ""},
    {32806, u"Тест &клавиатуры", u"Тест клавиатуры", ""},
    {32808, u"Тест периферии", u"Тест цепей периферии", ""},
    {32870, u"&Восстановление ПО контроллера", u"Восстановление ПО контроллера", "4"},
    {57665, u"Вы&ход", u"Выход", ""},
    {32785, u"Сканирование шин &адреса/данных", u"Сканирование шин адреса и данных микро-эвм", ""},
    {32811, u"Сканирование шины &управления", u"Сканирование шины управления микро-эвм", ""},
    {32851, u"Сканирование &регистра DD8", u"Сканирование регистра", ""},
    {32812, u"Сканирование &дешифратора DD11", u"Сканирование дешифратора", ""},
    {32813, u"Сканирование &ППИ (DD14)", u"Сканирование ППИ", "0..3"},
    {32850, u"&Формирование импульса записи ФП", u"Формирование импульса записи ФП", "0..3"},
    {32816, u"&Диагностика по типам неисправностей...", u"Диагностика по типам неисправностей", ""},
    {32818, u"&Логический пробник", u"Выбор логического пробника для контроля сигналов", ""},
    {32819, u"&Осциллограф", u"Выбор осциллографа для контроля сигналов", ""},
    {32820, u"П&роверка логического пробника", u"Тест логического пробника", ""},
    {32878, u"Сохранение данных &ФП в файле", u"Сохранение данных ФП в файле", "4"},
    {32879, u"", u"Восстановление данных ФП из файла", "4"},
    {32880, u"", u"Очистка ФП", "4"},
    {32885, u"Сохранение данных &РПЗУ в файле", u"Сохранение данных РПЗУ в файле", "4"},
    {32882, u"Восстановление данных РП&ЗУ из файла", u"Восстановление данных РПЗУ из файла", "4"},
    {32883, u"Очистка РПЗ&У", u"Очистка РПЗУ", "4"},
    {32884, u"Обновление ПО &кассы", u"Обновление ПО кассы", "4"},
    {32891, u"&Верификация ПО кассы", u"Верификация ПО кассы", "4"},
    {59392, u"Панель &инструментов", u"Показать или убрать панель инструментов", ""},
    {59393, u"&Строка состояния", u"Показать или убрать строку состояния", ""},
    {32778, u"Схема &принципиальная", u"Показать схему принципиальную", ""},
    {32771, u"Схема &расположения", u"Показать схему расположения элементов", ""},
    {32774, u"&Цвет фона", u"Изменить цвет фона схем", ""},
    {32780, u"COM&1", u"Выбрать СОМ1 компьютера", ""},
    {32782, u"COM&2", u"Выбрать СОМ2 компьютера", ""},
    {32855, u"COM&3", u"Выбрать СОМ3 компьютера", ""},
    {32857, u"COM&4", u"Выбрать СОМ4 компьютера", ""},
    {32859, u"COM&5", u"Выбрать СОМ5 компьютера", ""},
    {32861, u"COM&6", u"Выбрать СОМ6 компьютера", ""},
    {32863, u"COM&7", u"Выбрать СОМ7 компьютера", ""},
    {32865, u"COM&8", u"Выбрать СОМ8 компьютера", ""},
    {57667, u"&Разделы помощи", u"Показать оглавление помощи", ""},
    {57664, u"&О программе...", u"Сведения о программе", ""},
};

/// Menu icons: bitmap id per command; items not listed have no icon.
struct IconRow {
    int id;
    int bitmap;
};
const IconRow IconTable[] = {
    {32786, 260}, {32787, 262}, {32788, 262}, {32842, 262}, {32789, 263}, {32790, 264},
    {32791, 265}, {32794, 266}, {32795, 267}, {32798, 268}, {32837, 269}, {32840, 270},
    {32841, 271}, {32802, 272}, {32806, 273}, {32808, 274}, {32785, 275}, {32811, 276},
    {32812, 277}, {32813, 277}, {32851, 277}, {32850, 278}, {32816, 279}, {32820, 280},
    {32870, 285},
};
// clang-format on

/// Texts that popup initialisation writes on board types 3 and 4.
QString relabel(int boardType, int id) {
    if (boardType == 3 && id == 32813)
        return QStringLiteral("Сканирование &ППИ (DD15)");
    if (boardType == 4 && id == 32790)
        return QStringLiteral("Тест &РПЗУ (29С010)");
    if (boardType == 4 && id == 32851)
        return QStringLiteral("Сканирование &регистра DD12");
    if (boardType == 4 && id == 32812)
        return QStringLiteral("Сканирование &дешифратора DD8");
    return QString();
}

bool enabledOn(const char* rule, int boardType) {
    if (qstrcmp(rule, "0..3") == 0)
        return boardType <= 3;
    if (qstrcmp(rule, "4") == 0)
        return boardType == 4;
    return true;
}

/// A popup as text: items by id, "-" for separators, "[title: ...]" for sub-popups.
QString describe(const QMenu* menu) {
    QStringList parts;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            parts << QStringLiteral("-");
        else if (a->menu())
            parts << QStringLiteral("[") + a->text() + QStringLiteral(": ") + describe(a->menu()) +
                         QStringLiteral("]");
        else
            parts << a->objectName().mid(5); // "menu_<id>"
    }
    return parts.join(u' ');
}

} // namespace

class TestCommandTable : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { m_fx = std::make_unique<FrameFixture>(); }
    void cleanupTestCase() { m_fx.reset(); }
    void init() { m_fx->reset(); }

    void commands_data();
    void commands();
    void relabelsAppearWhenAPopupOpens();
    void menuStructure();
    void toolBarPositions();
    void ownerDrawnLook();
    void menuIcons_data();
    void menuIcons();

private:
    std::unique_ptr<FrameFixture> m_fx;
};

void TestCommandTable::commands_data() {
    QTest::addColumn<int>("boardType");
    for (int t = 0; t < 5; ++t)
        QTest::addRow("board type %d", t) << t;
}

void TestCommandTable::commands() {
    QFETCH(int, boardType);
    QVERIFY(m_fx->makeFrame(boardType));
    CMainFrame& frame = *m_fx->frame;
    frame.InitPopup();

    int menuItems = 0;
    for (const Row& row : Table) {
        const QString text = QString::fromUtf16(row.text);
        const QString prompt = QString::fromUtf16(row.prompt);
        const bool enabled = enabledOn(row.enabled, boardType);
        const QByteArray where = QByteArray::number(row.id);

        QAction* item = frame.menuAction(row.id);
        if (text.isEmpty()) {
            QVERIFY2(!item, where);
        } else {
            ++menuItems;
            QVERIFY2(item, where);
            const QString shown = relabel(boardType, row.id);
            QCOMPARE(item->text(), shown.isEmpty() ? text : shown);
            QCOMPARE(item->statusTip(), prompt);
            QVERIFY2(item->isEnabled() == enabled, where);
        }
        if (QAction* tool = frame.toolAction(row.id)) {
            QCOMPARE(tool->toolTip(), prompt);
            QCOMPARE(tool->statusTip(), prompt);
            QVERIFY2(tool->isEnabled() == enabled, where);
        }
        // Commands without a menu item still carry their prompt.
        QVERIFY2(findCommand(row.id) && findCommand(row.id)->prompt == prompt, where);
    }
    QCOMPARE(menuItems, 49);
}

void TestCommandTable::relabelsAppearWhenAPopupOpens() {
    QVERIFY(m_fx->makeFrame(4));
    QAction* item = m_fx->frame->menuAction(32790);
    QCOMPARE(item->text(), QStringLiteral("Тест &РПЗУ  ( 28C256)"));
    emit m_fx->frame->menuBar()->actions().at(0)->menu()->aboutToShow();
    QCOMPARE(item->text(), QStringLiteral("Тест &РПЗУ (29С010)"));
}

void TestCommandTable::menuStructure() {
    QVERIFY(m_fx->makeFrame(0));
    const QList<QAction*> top = m_fx->frame->menuBar()->actions();
    const QStringList titles{QStringLiteral("&Тестирование"), QStringLiteral("&Диагностика"),
                             QStringLiteral("Сервис"),        QStringLiteral("&Вид"),
                             QStringLiteral("&Com - порт"),   QStringLiteral("&Помощь")};
    const QStringList items{
        QStringLiteral("32786 32788 32787 32789 32790 32791 [Тест &ФП: 32794 32795] 32842 "
                       "[Тест &индикатора кассира: 32798 32837] "
                       "[Тест индикатора покупателя: 32840 32841] 32802 32806 32808 32900 32870 - 57665"),
        QStringLiteral("32785 32811 32851 32812 32813 32850 32816 - "
                       "[&Устройство контроля сигналов: 32818 32819] 32820"),
        QStringLiteral("32878 - 32885 32882 32883 - 32884 32891 - 32901 32902"),
        QStringLiteral("59392 59393 - 32778 32771 - 32774"),
        QStringLiteral("32780 32782 32855 32857 32859 32861 32863 32865"),
        QStringLiteral("57667 - 57664"),
    };
    QCOMPARE(top.size(), titles.size());
    for (int i = 0; i < top.size(); ++i) {
        QCOMPARE(top[i]->text(), titles[i]);
        QCOMPARE(describe(top[i]->menu()), items[i]);
    }
}

void TestCommandTable::toolBarPositions() {
    m_fx->writeSettings(QByteArray(68, '\0') + QByteArray("\x01\x00\x01", 3));
    QVERIFY(m_fx->makeFrame(0));
    const QList<QAction*> actions = m_fx->frame->mainToolBar()->actions();
    QCOMPARE(actions.size(), 33);

    const QList<int> expected{32786, 32788, 32787, 32789, 32790, 32791, 32794, 32795, 32842,
                              32798, 32837, 32840, 32841, 32802, 32806, 32808, 32870, -10,
                              32785, 32811, 32851, 32812, 32813, 32850, 32816, -5,    32818,
                              32819, 32820, -10,   32778, 32771, -10};
    for (int i = 0; i < 33; ++i) {
        QAction* a = actions[i];
        if (expected[i] < 0) {
            QWidget* gap = m_fx->frame->mainToolBar()->widgetForAction(a);
            QVERIFY(gap);
            QCOMPARE(gap->objectName(), QStringLiteral("toolBarGap"));
            QCOMPARE(gap->width(), -expected[i]);
        } else {
            QCOMPARE(a, m_fx->frame->toolAction(expected[i]));
            QCOMPARE(a->icon().availableSizes().value(0), QSize(32, 32));
        }
    }
    // Two check groups, pressed as the settings say: oscilloscope, layout.
    CMainFrame& f = *m_fx->frame;
    QVERIFY(!f.toolAction(32818)->isChecked() && f.toolAction(32819)->isChecked());
    QVERIFY(!f.toolAction(32778)->isChecked() && f.toolAction(32771)->isChecked());
    f.toolAction(32818)->trigger();
    QVERIFY(f.toolAction(32818)->isChecked() && !f.toolAction(32819)->isChecked());
    QVERIFY(f.toolAction(32771)->isChecked()); // the other group is untouched
    QVERIFY(!f.toolAction(32786)->isCheckable());
}

void TestCommandTable::ownerDrawnLook() {
    QVERIFY(m_fx->makeFrame(0));
    CMainFrame& f = *m_fx->frame;
    QVERIFY(qobject_cast<MenuStyle*>(f.menuBar()->style()));
    for (QAction* top : f.menuBar()->actions()) {
        QVERIFY(qobject_cast<MenuStyle*>(top->menu()->style()));
        for (QAction* a : top->menu()->actions()) {
            if (a->menu())
                QVERIFY(qobject_cast<MenuStyle*>(a->menu()->style()));
        }
    }
    // Sub-popup entries carry no icon of their own.
    for (QAction* top : f.menuBar()->actions()) {
        for (QAction* a : top->menu()->actions()) {
            if (a->menu())
                QVERIFY2(a->icon().isNull(), qPrintable(a->text()));
        }
    }
}

void TestCommandTable::menuIcons_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("bitmap"); // 0: no icon
    for (const Row& row : Table) {
        if (row.text[0] == 0)
            continue;
        int bitmap = 0;
        for (const IconRow& icon : IconTable) {
            if (icon.id == row.id)
                bitmap = icon.bitmap;
        }
        QTest::addRow("%d", row.id) << row.id << bitmap;
    }
}

void TestCommandTable::menuIcons() {
    QFETCH(int, id);
    QFETCH(int, bitmap);
    // 32870 is enabled only on board type 4, the rest of the iconed items on 0.
    QVERIFY(m_fx->makeFrame(id == 32870 ? 4 : 0));
    QAction* a = m_fx->frame->menuAction(id);
    QVERIFY(a);
    if (bitmap == 0) {
        QVERIFY(a->icon().isNull());
        return;
    }
    QVERIFY(!a->icon().isNull());
    const QColor colour = FrameFixture::menuBitmapColour(bitmap);
    const QImage icon = a->icon().pixmap(16, 16).toImage();
    QCOMPARE(icon.size(), QSize(16, 16));
    QCOMPARE(icon.pixelColor(8, 8), colour);
    QCOMPARE(icon.pixelColor(15, 15), colour);
    QCOMPARE(icon.pixelColor(0, 0).alpha(), 0); // grey is see-through

    // The popup shows that icon in the item's own row, 23 pixels left of the text.
    QMenu* menu = nullptr;
    for (QObject* o : a->associatedObjects()) {
        if (auto* m = qobject_cast<QMenu*>(o))
            menu = m;
    }
    QVERIFY(menu);
    QVERIFY(a->isEnabled());
    menu->resize(menu->sizeHint());
    const QImage shot = menu->grab().toImage();
    const QRect item = menu->actionGeometry(a);
    const int iconLeft = item.left() + 25 - 23;
    const int y = item.center().y();
    QCOMPARE(shot.pixelColor(iconLeft, y), colour);
    QCOMPARE(shot.pixelColor(iconLeft + 15, y), colour);
    QVERIFY(shot.pixelColor(iconLeft - 1, y) != colour);
    QVERIFY(shot.pixelColor(iconLeft + 16, y) != colour);
}

QTEST_MAIN(TestCommandTable)
#include "tst_commandtable.moc"
