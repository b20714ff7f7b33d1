#include "OrvChatUser.h"
