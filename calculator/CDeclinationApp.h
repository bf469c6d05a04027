// The calculator's application: runs the main dialog, which is the whole life
// of the program.
#ifndef NORVANE_CDECLINATIONAPP_H
#define NORVANE_CDECLINATIONAPP_H

#include "afxwin.h"

class CDeclinationApp : public CWinApp {
public:
    CDeclinationApp();
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CDeclinationApp theApp;

#endif
