// The commands that speak to the users at the stations through the driver:
// a short text signed with the administrator's name, and the shutdown of
// the whole system with its announcements, pauses and final confirmation.
#pragma once

#include "system_config.h"

class CWnd;

void SendMessageCommand(SystemConfig& model, CWnd* frame);
// Blocks the program while it announces, prepares and carries out the
// shutdown (at least 8 seconds before the confirmation, 30 after it).
void ShutdownCommand(SystemConfig& model, CWnd* frame);
