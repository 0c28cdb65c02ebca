// The picture slot table (loaders to be written).
#include "gamedata/image_slots.h"

ImageSlot* ImageSlots = nullptr;
