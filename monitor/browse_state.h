// The state of the current browse: the picked measurements, the logon string of the
// latest browse and the connection in use.
#pragma once

struct BrowseState {};
