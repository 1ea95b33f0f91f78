#include "app/appglobals.h"

bool g_bExiting = false;
