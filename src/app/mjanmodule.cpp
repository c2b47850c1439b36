#include "app/mjanmodule.h"

#include <utility>

namespace tessarin {

MenuTable initialMenus() {
    MenuTable t;
    auto set = [&t](MenuId id, const char* caption) -> MenuState& {
        MenuState& m = t[static_cast<std::size_t>(id)];
        m.caption = QString::fromUtf8(caption);
        return m;
    };
    set(MenuId::File, "ﾌｧｲﾙ(&F)");
    set(MenuId::FileEnd, "終了(&X)");
    set(MenuId::Game, "ｹﾞｰﾑ種別(&T)");
    MenuState& g2 = set(MenuId::Game2, "二角取り");
    g2.checkable = true;
    g2.checked = true;
    set(MenuId::Game3, "三動牌").checkable = true;
    set(MenuId::Game4, "四？？").checkable = true;
    set(MenuId::Start, "ｹﾞｰﾑ開始(&G)");
    set(MenuId::StartRnd, "ｽﾀｰﾄ");
    set(MenuId::StartChoise, "面選択");
    set(MenuId::PaiBack, "一手戻す(&B)");
    set(MenuId::Srh, "検索開始(&S)");
    set(MenuId::Option, "ｵﾌﾟｼｮﾝ(&O)");
    set(MenuId::OptionTwo, "二角取り");
    set(MenuId::OptionTwoEasy, "楽々ﾓｰﾄﾞ").checkable = true;
    set(MenuId::Option2Ans, "模範回答").enabled = false;
    set(MenuId::PaiChange, "牌交換(&R)");
    set(MenuId::Save, "SAVE");
    set(MenuId::Load, "Load");
    set(MenuId::Help, "ﾍﾙﾌﾟ(&H)");
    return t;
}

MjanModule::MjanModule(QString dir, GameUi& gameUi, bool author)
    : programDir(std::move(dir)),
      ui(gameUi),
      authorMode(author),
      picdest(kSurfaceW, kSurfaceH, QImage::Format_RGB32),
      menuTbl(initialMenus()) {
    // 96 dots per inch, so point sizes on the surface match the desktop's.
    picdest.setDotsPerMeterX(3780);
    picdest.setDotsPerMeterY(3780);
    picdest.fill(kBoardGreen);
}

void MjanModule::setMenuEnabled(MenuId id, bool enabled) {
    MenuState& m = menuTbl[static_cast<std::size_t>(id)];
    if (m.enabled == enabled) return;
    m.enabled = enabled;
    ui.menuChanged(id);
}

void MjanModule::setMenuVisible(MenuId id, bool visible) {
    MenuState& m = menuTbl[static_cast<std::size_t>(id)];
    if (m.visible == visible) return;
    m.visible = visible;
    ui.menuChanged(id);
}

void MjanModule::setMenuChecked(MenuId id, bool checked) {
    MenuState& m = menuTbl[static_cast<std::size_t>(id)];
    if (m.checked == checked) return;
    m.checked = checked;
    ui.menuChanged(id);
}

void MjanModule::setMenuCaption(MenuId id, const QString& caption) {
    MenuState& m = menuTbl[static_cast<std::size_t>(id)];
    if (m.caption == caption) return;
    m.caption = caption;
    ui.menuChanged(id);
}

void MjanModule::setCaption(const QString& c) {
    windowCaption = c;
    ui.setCaption(c);
}

bool MjanModule::startUp() {
    if (!initPaiTbl()) return false;
    gameKind = TwoCorner;
    setMenusForGame(false);
    setMenuEnabled(MenuId::Game4, false);
    setCaption(QStringLiteral("二角取り"));
    refreshSurface();
    return true;
}

void MjanModule::exitProgram() { ui.exitProgram(); }

void MjanModule::menuHelp_Click() {
    // A missing manual is passed over in silence, like any failed open.
    const QString path = appDirPath(QStringLiteral("tessarinmanual.html"));
    if (existsInAppDir(QStringLiteral("tessarinmanual.html"))) ui.openDocument(path);
}

void MjanModule::Form_KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (key == Qt::Key_Escape) {
        exitProgram();
    } else if (key == Qt::Key_F && (modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        menuSrh_Click();
    }
}

}  // namespace tessarin
