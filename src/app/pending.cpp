// Commands whose games are not wired in yet: they exist with their menu
// states and do nothing until their subsystem provides them.
#include "app/mjanmodule.h"

namespace tessarin {

void MjanModule::clickTwoCorner(int, int, int) {}
void MjanModule::clickThree(int, int, int) {}
void MjanModule::showSuccess() {}
void MjanModule::startThree() { drawBoardThree(); }
void MjanModule::menuStartChoise_Click() {}
void MjanModule::menuPaiBack_Click() {}
void MjanModule::menuSrh_Click() {}
void MjanModule::menuOption2Ans_Click() {}
void MjanModule::menuPaiChange_Click() {}
void MjanModule::menuSave_Click() {}
void MjanModule::menuLoad_Click() {}

}  // namespace tessarin
