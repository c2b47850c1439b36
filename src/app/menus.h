// Menu state as data: the game sets it, the window mirrors it into actions.
// A command item's id is also the command the window hands to the game.
#pragma once

#include <QString>

#include <array>

namespace tessarin {

enum class MenuId : int {
    File,              // ﾌｧｲﾙ(&F)
    Quit,              //   終了(&X)
    GameType,          // ｹﾞｰﾑ種別(&T)
    TwoCornerGame,     //   二角取り
    ThreeMoveGame,     //   三動牌
    GameFour,          //   四？？ (never enabled)
    Start,             // ｹﾞｰﾑ開始(&G)
    RandomDeal,        //   ｽﾀｰﾄ
    ChooseStage,       //   面選択
    Undo,              // 一手戻す(&B)
    Search,            // 検索開始(&S)
    Options,           // ｵﾌﾟｼｮﾝ(&O)
    TwoCornerOptions,  //   二角取り
    EasyMode,          //     楽々ﾓｰﾄﾞ
    ModelAnswer,       //     模範回答
    Exchange,          // 牌交換(&R) (authoring build)
    Save,              // SAVE (authoring build)
    Load,              // Load (authoring build)
    Help,              // ﾍﾙﾌﾟ(&H)
    // Items added to the menus of the original design keep their ids after
    // its own, so a kept game's menus are read the same way.
    Zoom,              //   表示倍率 (in ｵﾌﾟｼｮﾝ)
    Zoom100,           //     100%
    Zoom150,           //     150%
    Zoom200,           //     200%
    Hint,              //     ﾋﾝﾄ (in ｵﾌﾟｼｮﾝ → 二角取り, Ctrl+H)
    SolvableDeals,     //     解ける配牌のみ
    DeadEndWarning,    //     手詰まりの警告
};
inline constexpr int kMenuCount = static_cast<int>(MenuId::DeadEndWarning) + 1;

struct MenuState {
    QString caption;
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    bool checkable = false;

    friend bool operator==(const MenuState&, const MenuState&) = default;
};

using MenuTable = std::array<MenuState, kMenuCount>;

// The menu tree as designed, before start-up adjusts it.
MenuTable initialMenus();

}  // namespace tessarin
