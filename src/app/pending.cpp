// Commands whose games are not wired in yet: they exist with their menu
// states and do nothing until their subsystem provides them.
#include "app/mjanmodule.h"

namespace tessarin {

// TwoCorner play
void MjanModule::clickTwoCorner(int, int, int) {}
void MjanModule::pickPai(int, int, int) {}
void MjanModule::undoTwo() {}
void MjanModule::menuSrh_Click() {}
void MjanModule::menuPaiChange_Click() {}

// Stages, replay and success
void MjanModule::replayStep(int) {}
void MjanModule::menuStartChoise_Click() {}
void MjanModule::menuOption2Ans_Click() {}

// ThreeMove
void MjanModule::clickThree(int, int, int) {}
void MjanModule::tryMoveThree(int, int, int) {}
void MjanModule::startThree() { drawBoardThree(); }
void MjanModule::paiBack3() {}

// Save and load
void MjanModule::menuSave_Click() {}
void MjanModule::menuLoad_Click() {}

}  // namespace tessarin
