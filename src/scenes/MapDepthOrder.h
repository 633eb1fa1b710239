#pragma once

class GameNode;

// Keeps the node among its siblings in ascending y, after the siblings of
// equal y, so that what stands lower on the map is drawn over it. Walks back
// first; when the node needs to go no further back, walks forward. A node
// whose earlier siblings all stand lower stays where it is: the section's
// highlight node (y 0) always heads the list.
void SortTrainDepth(GameNode& train);
