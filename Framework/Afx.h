// The framework layer of the applet: include this one header.
#pragma once

#include "CmdTarget.h"
#include "DataExchange.h"
#include "Dialog.h"
#include "Edit.h"
#include "Menu.h"
#include "String.h"
#include "WinApp.h"
#include "Wnd.h"
