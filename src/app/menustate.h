// Menu state as data: the game sets it, the window mirrors it into actions.
#pragma once

#include <QString>

#include <array>

namespace tessarin {

enum class MenuId : int {
    File,            // ﾌｧｲﾙ(&F)
    FileEnd,         //   終了(&X)
    Game,            // ｹﾞｰﾑ種別(&T)
    Game2,           //   二角取り
    Game3,           //   三動牌
    Game4,           //   四？？
    Start,           // ｹﾞｰﾑ開始(&G)
    StartRnd,        //   ｽﾀｰﾄ
    StartChoise,     //   面選択
    PaiBack,         // 一手戻す(&B)
    Srh,             // 検索開始(&S)
    Option,          // ｵﾌﾟｼｮﾝ(&O)
    OptionTwo,       //   二角取り
    OptionTwoEasy,   //     楽々ﾓｰﾄﾞ
    Option2Ans,      //     模範回答
    PaiChange,       // 牌交換(&R)
    Save,            // SAVE
    Load,            // Load
    Help,            // ﾍﾙﾌﾟ(&H)
};
inline constexpr int kMenuCount = static_cast<int>(MenuId::Help) + 1;

struct MenuState {
    QString caption;
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    bool checkable = false;
};

using MenuTable = std::array<MenuState, kMenuCount>;

// The menu tree as designed, before start-up adjusts it.
MenuTable initialMenus();

}  // namespace tessarin
