#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "game/world/MapRefs.h"

class KR2Player;
class RandomGenerator;

// Lowers the chance of game type `gameType` by one and shifts the unlocked
// types' chances so the smallest is 0; nothing while fewer than two types
// are unlocked. The least played types so keep the highest chances.
void AdjustTypeChances(int32_t gameType, std::array<float, 8>& chances, const std::vector<int32_t>& unlocked);

// Offers a ticket for each candidate track that is bought and not offered
// yet, with game types drawn by the player's type chances and ratings
// spread over the offer. `random` shuffles the candidates and draws the
// types.
void CreateOfferedTickets(KR2Player& player, std::vector<TrackRef> candidates, RandomGenerator& random);
// The same with the run's shared generator.
void CreateOfferedTickets(KR2Player& player, std::vector<TrackRef> candidates);
