// The signal generator: one window, the front panel, until Exit or until
// the window is closed. At the end the panel's generator stops the sound and
// gives the output device its level back.

#include "engine/DefaultSoundOutput.h"
#include "engine/ToneGen.h"
#include "panel/PanelClasses.h"
#include "panel/PanelOptions.h"
#include "panel/Unit1.h"
#include "platform/sound/SystemSoundOutput.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const PanelOptions options = ParsePanelOptions(QApplication::arguments());
    // The generators the panel creates play through this machine's sound
    // server (made when the first one asks).
    SetSoundOutputFactory(&CreateSoundOutput);
    InitPanelResources();
    RegisterPanelClasses();
    TForm1 form;
    // The stored generator is classic; the program plays the precise
    // synthesis unless asked not to.
    form.ToneGen1->SetPrecise(!options.classicSynthesis);
    form.show();
    return app.exec();
}
