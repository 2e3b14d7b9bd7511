// The host PC runs the stations: when it goes to sleep or hibernates by
// itself, every station stops with it. Setup gives it a power scheme of the
// product's own, made from the scheme in use with those two timers off, and
// makes it every user's current scheme.
#pragma once

// Adds "Orvanta Server" (or "Zelto Server") to the Windows power schemes
// unless a scheme of that name is already there. Silent: what cannot be
// read or written leaves the schemes as they are.
void InstallServerPowerScheme();
