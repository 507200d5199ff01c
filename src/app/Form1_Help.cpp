// The Help menu: the about box and the maker's page.

#include "app/Form1.h"

#include "app/Desktop.h"
#include "app/ProgramInfo.h"
#include "app/frmAbout.h"

void Form1::mnuabout_Click()
{
    frmAbout about(*this);
    about.exec();
}

void Form1::mnumarrowby_Click()
{
    GoToMarrowby();
}

void Form1::GoToMarrowby()
{
    // Every call is a new request to the browser; whether it opens a window is the browser's
    // choice.  A desktop without one says nothing here either.
    desktop().openUrl(QUrl(ProgramInfo::makerPage()));
}
