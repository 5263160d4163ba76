// Playback of the file area: the buttons hand over to the playback rules shared with qdax-play.
#include "app/window/daxtest.h"

void TMainForm::SendNextLine() {
    playback_.SendNextLine();
}

void TMainForm::PlayButtonClick() {
    playback_.Play();
}

void TMainForm::PauseButtonClick() {
    playback_.Pause();
}

void TMainForm::StepButtonClick() {
    playback_.Step();
}

void TMainForm::StopButtonClick() {
    playback_.Stop();
}
