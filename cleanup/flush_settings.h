// Makes what the steps wrote reach the disk before the next step or the
// setup engine reads it.
#pragma once

void FlushSettings();
