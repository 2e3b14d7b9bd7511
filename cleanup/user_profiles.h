// Switches on user profiles, which the stations' separate users need, with
// the reconciliation entries that keep each user's desktop, recent files
// and network places of their own.
#pragma once

void EnableUserProfiles();
