#include "settings/view_record.h"

#include "settings/settings.h"

namespace cel::settings {

void CopySettingsToView(const Settings &settings, RecVistaCarta &view) {
    const Settings::RuedaSection &r = settings.rueda;
    view.aspectGlyphs = r.glifo;
    view.largeImagesWheel = r.imagenR;
    view.largeImagesTable = r.imagenT;
    view.wheelFlags = {r.planetas,   r.casas,      r.signos,        r.grados,        r.color,
                       r.colorPla,   r.colorEle,   r.planetasSigno, r.planetasTexto, r.planetasSeg,
                       r.casasSigno, r.casasTexto, r.casasSeg,      r.casasLin};
    view.retrogradeMark = r.retro;
    view.radiusFractions = {r.porAreaExterior, r.radCircleExt, r.porCircleCasas};
    view.fontName = CutFontName(r.font);
    view.fontSize = r.fontSize;
}

} // namespace cel::settings
