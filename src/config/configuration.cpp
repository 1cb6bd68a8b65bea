#include "config/configuration.h"

// The manifest reader and the configuration object are not built yet:
// nothing is loaded, which start-up treats like any failed load (it goes
// on; later steps find an empty configuration).
int LoadConfiguration()
{
    return 1;
}
