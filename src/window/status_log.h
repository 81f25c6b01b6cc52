// The status log at the top of the window: one line per outcome, newest
// scrolled into view, never cleared.
#pragma once

void AddStatusMessage(const char *text);
