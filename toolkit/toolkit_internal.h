#pragma once

// Start-up and shut-down steps of the toolkit's parts, called by toolkitStart and
// toolkitStop only (in that order, and backwards).
void bitmapRegistryCreate();
void bitmapRegistryDestroy();
void fontCacheCreate();
void fontCacheDestroy();
