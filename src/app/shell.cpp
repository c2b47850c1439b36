#include "app/shell.h"

#include "board/model.h"

namespace tessarin {

MenuTable initialMenus() {
    MenuTable t;
    auto set = [&t](MenuId id, const char* caption) -> MenuState& {
        MenuState& m = t[static_cast<std::size_t>(id)];
        m.caption = QString::fromUtf8(caption);
        return m;
    };
    // A check item, ticked or not at the start.
    const auto setCheck = [&set](MenuId id, const char* caption, bool checked) {
        MenuState& m = set(id, caption);
        m.checkable = true;
        m.checked = checked;
    };
    set(MenuId::File, "ﾌｧｲﾙ(&F)");
    set(MenuId::Quit, "終了(&X)");
    set(MenuId::GameType, "ｹﾞｰﾑ種別(&T)");
    setCheck(MenuId::TwoCornerGame, "二角取り", true);
    setCheck(MenuId::ThreeMoveGame, "三動牌", false);
    setCheck(MenuId::GameFour, "四？？", false);
    set(MenuId::Start, "ｹﾞｰﾑ開始(&G)");
    set(MenuId::RandomDeal, "ｽﾀｰﾄ");
    set(MenuId::ChooseStage, "面選択");
    set(MenuId::Undo, "一手戻す(&B)");
    set(MenuId::Search, "検索開始(&S)");
    set(MenuId::Options, "ｵﾌﾟｼｮﾝ(&O)");
    set(MenuId::TwoCornerOptions, "二角取り");
    setCheck(MenuId::EasyMode, "楽々ﾓｰﾄﾞ", false);
    set(MenuId::ModelAnswer, "模範回答").enabled = false;
    set(MenuId::Exchange, "牌交換(&R)");
    set(MenuId::Save, "SAVE");
    set(MenuId::Load, "Load");
    set(MenuId::Help, "ﾍﾙﾌﾟ(&H)");
    set(MenuId::Zoom, "表示倍率");
    setCheck(MenuId::Zoom100, "100%", true);
    setCheck(MenuId::Zoom150, "150%", false);
    setCheck(MenuId::Zoom200, "200%", false);
    set(MenuId::Hint, "ﾋﾝﾄ\tCtrl+H");
    setCheck(MenuId::SolvableDeals, "解ける配牌のみ", false);
    setCheck(MenuId::DeadEndWarning, "手詰まりの警告", true);
    return t;
}

void Shell::setMenuEnabled(MenuId id, bool enabled) {
    MenuState& m = menuState(id);
    if (m.enabled == enabled) return;
    m.enabled = enabled;
    ui_.menuChanged(id);
}

void Shell::setMenuVisible(MenuId id, bool visible) {
    MenuState& m = menuState(id);
    if (m.visible == visible) return;
    m.visible = visible;
    ui_.menuChanged(id);
}

void Shell::setMenuChecked(MenuId id, bool checked) {
    MenuState& m = menuState(id);
    if (m.checked == checked) return;
    m.checked = checked;
    ui_.menuChanged(id);
}

void Shell::setMenuCaption(MenuId id, const QString& caption) {
    MenuState& m = menuState(id);
    if (m.caption == caption) return;
    m.caption = caption;
    ui_.menuChanged(id);
}

void Shell::setCaption(const QString& caption) {
    state_.caption = caption;
    ui_.setCaption(caption);
}

QRect Shell::cursorRing(int x, int y) {
    return QRect(QPoint(cellPixelX(x) - 1, cellPixelY(y) - 1), QPoint(cellPixelX(x) + 45, cellPixelY(y) + 55));
}

void Shell::setCursor(const KeyboardCursor& cursor) {
    if (cursor == state_.cursor) return;
    const KeyboardCursor old = state_.cursor;
    state_.cursor = cursor;
    if (old.shown) ui_.surfaceChanged(cursorRing(old.x, old.y));
    if (cursor.shown) ui_.surfaceChanged(cursorRing(cursor.x, cursor.y));
}

void Shell::restore(GameKind kind, const MenuTable& menus) {
    state_.cursor = KeyboardCursor{};
    state_.kind = kind;
    state_.inPlay = true;
    state_.menus = menus;
    for (MenuId id : {MenuId::Exchange, MenuId::Save, MenuId::Load}) menuState(id).visible = authorMode_;
    menuState(MenuId::GameFour).enabled = false;
    for (int i = 0; i < kMenuCount; ++i) ui_.menuChanged(static_cast<MenuId>(i));
    setCaption(kind == GameKind::TwoCorner ? QStringLiteral("二角取り") : QStringLiteral("三動牌"));
}

void Shell::setMenusForGame(bool enable, bool fixedStage) {
    if (kind() == GameKind::TwoCorner) {
        setMenuEnabled(MenuId::Undo, enable);
        setMenuEnabled(MenuId::Search, enable);
        // After a cleared stage the model answer stays reachable; the rest of
        // the submenu is closed like the other play commands.
        const bool keepAnswer = !enable && fixedStage;
        setMenuEnabled(MenuId::TwoCornerOptions, enable || keepAnswer);
        setMenuEnabled(MenuId::EasyMode, !keepAnswer);
        setMenuEnabled(MenuId::Hint, enable);
        if (!authorMode_) {
            setMenuVisible(MenuId::Exchange, false);
            setMenuVisible(MenuId::Save, false);
            setMenuVisible(MenuId::Load, false);
        }
        setMenuEnabled(MenuId::ModelAnswer, fixedStage);
    } else if (kind() == GameKind::ThreeMove) {
        setMenuEnabled(MenuId::Undo, false);
        setMenuEnabled(MenuId::Search, false);
        setMenuEnabled(MenuId::Options, false);
    }
}

}  // namespace tessarin
