#include "format/JournalHeader.h"

#include "model/KipsaPrubex.h"
#include "model/KipsaResult.h"

namespace kp {

JournalHeader JournalHeader::of(const KipsaPrubex& exam, const KipsaResult& result,
                                qint16 totalPreguntas, qint32 segundosLimite,
                                const QDateTime& horaInicio) {
    JournalHeader h;
    h.IdExamen = result.IdExamen();
    h.Serie = result.Serie();
    h.TotalPreguntas = totalPreguntas;
    h.TipoExamen = exam.TipoExamen();
    h.SegundosLimite = segundosLimite;
    h.HoraInicio = horaInicio;
    h.ArchivoSalida = result.ArchivoSalida();
    for (int i = 1; i <= 5; ++i) {
        h.etiquetas[static_cast<size_t>(i - 1)] = exam.DatoAlumno(i);
        h.datos[static_cast<size_t>(i - 1)] = result.DatoAlumno(i);
    }
    return h;
}

void JournalHeader::applyTo(KipsaPrubex& exam, KipsaResult& result) const {
    exam.setTipoExamen(TipoExamen);
    result.setIdExamen(IdExamen);
    result.setSerie(Serie);
    result.setArchivoSalida(ArchivoSalida);
    for (int i = 1; i <= 5; ++i) {
        exam.setDatoAlumno(i, etiquetas[static_cast<size_t>(i - 1)]);
        result.setDatoAlumno(i, datos[static_cast<size_t>(i - 1)]);
    }
}

} // namespace kp
