#pragma once

// Gives the game-name and game-id constants test values, unless an earlier
// test in this process already did (their first values are kept for good).
void UseTestGameConstants();
