#include "report/views/kvlviews.h"

#include "platform/rtl/reflect/classinfo.h"
#include "report/registry/kvlregistries.h"
#include "report/resources/kvlresources.h"
#include "report/views/kvlcheckbox.h"
#include "report/views/kvlhighlight.h"
#include "report/views/kvlline.h"
#include "report/views/kvlpicture.h"
#include "report/views/kvlshape.h"

void kvlRegisterViewClasses()
{
    rtl::RegisterClasses({TkvlView::StaticClass(), TkvlStretcheable::StaticClass(), TkvlShapeView::StaticClass(),
                          TkvlCustomLineView::StaticClass(), TkvlLineView::StaticClass(),
                          TkvlCheckBoxView::StaticClass(), TkvlPictureView::StaticClass(),
                          TkvlHighlight::StaticClass(), TkvlHighlightCollection::StaticClass(),
                          TkvlFormat::StaticClass(), TkvlFormatCollection::StaticClass()});
    // The descriptions' texts, unless a language file gave them already.
    TkvlResources &res = kvlResources();
    for (const auto &[key, text] : {std::pair{"obShape", "Forma oggetto"}, std::pair{"obLine", "Linea"},
                                    std::pair{"obChBox", "Casella di controllo"}, std::pair{"obPicture", "Immagine"}})
        if (res.IndexOf(QLatin1String(key)) < 0)
            res.Add(QLatin1String(key), QString::fromUtf8(text));
    kvlObjects().RegisterObject1(TkvlCheckBoxView::StaticClass(), nullptr, {}, {}, 0, 24);
}
