#include "Actions.h"
#include "PromptRecorder.h"

#include <gtest/gtest.h>
