#include "foundation/SectionLock.h"
