// Whether double-clicked .dm2 demos open in the game, for the current user.
#pragma once

// 1 when .dm2 is associated with Gravlok, else 0.
int IsDemoAssociated();

// Makes or removes the association when the box differs from the flag,
// and keeps the flag in step with what is now in place.
void ApplyDemoAssociation(bool boxChecked, int *associationFlag);
