#pragma once

// Resource ids of the window, shared by henkan.rc and the code.
#define QDVZ_HENKAN_ICON 1
