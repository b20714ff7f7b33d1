// Compiles every shared header on its own, so their layout checks run in
// every build, the 32-bit product's included.
#include "OrvContactArray.h"
#include "OrvContactInfo.h"
#include "OrvISearch.h"
#include "OrvISearchPath.h"
#include "OrvISearchPathResult.h"
#include "OrvISearchResult.h"
#include "OrvMessages.h"
#include "OrvNavigate.h"
#include "OrvTreeTypes.h"
