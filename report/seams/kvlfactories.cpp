#include "report/seams/kvlfactories.h"

TkvlEngineFactory kvlEngineFactory = nullptr;
TkvlPreviewPagesFactory kvlPreviewPagesFactory = nullptr;
TkvlPreviewFormFactory kvlPreviewFormFactory = nullptr;
