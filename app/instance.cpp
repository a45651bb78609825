#include "app/instance.h"

HINSTANCE g_instance;
