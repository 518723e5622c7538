// VorpaZQTI (class id 127, extends MIDlet): the game's MIDlet. It makes the single cGame and starts
// its thread on the first startApp; every startApp resumes the game and every pauseApp pauses it;
// destroyApp asks the game thread to stop, which then notifies the MIDlet as destroyed. No fields.
#pragma once

#include "classlib/midlet/javax_microedition_midlet_midlet.h"

class VorpaZQTI : public javax_microedition_midlet_MIDlet {
public:
    VorpaZQTI() { setClassId(CID_VorpaZQTI); }

    void startApp() override;
    void pauseApp() override;
    // The flag is not read: the game stops at the end of its current frame in every case.
    void destroyApp(jboolean unconditional) override;
};
