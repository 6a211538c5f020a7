#include "SBMainSwitcherWindow.h"

void SBWindow::registerRuntimeClass()
{
    objc::defineClass<SBWindow>("SBWindow", UIWindow::staticClass());
}

void SBMainSwitcherWindow::registerRuntimeClass()
{
    objc::defineClass<SBMainSwitcherWindow>("SBMainSwitcherWindow", SBWindow::staticClass());
}

#include "SBCoverSheetWindow.h"

void SBCoverSheetWindow::registerRuntimeClass()
{
    objc::defineClass<SBCoverSheetWindow>("SBCoverSheetWindow", SBWindow::staticClass());
}
