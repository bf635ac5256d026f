#pragma once

#include "model/Preguntas.h"
#include "model/Series.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class QIODevice;

namespace kp {

// The exam: its settings, questions and series.
class KipsaPrubex {
public:
    const QString& Titulo() const { return titulo_; }
    void setTitulo(const QString& v) { titulo_ = v; }
    bool SoloUnaRespuesta() const { return soloUnaRespuesta_; }
    void setSoloUnaRespuesta(bool v) { soloUnaRespuesta_ = v; }
    const QByteArray& ArchivoLogoBinary() const { return archivoLogoBinary_; }
    void setArchivoLogoBinary(const QByteArray& v) { archivoLogoBinary_ = v; }
    const QString& IdExamen() const { return idExamen_; }
    void setIdExamen(const QString& v) { idExamen_ = v; }
    qint16 TipoExamen() const { return tipoExamen_; }
    void setTipoExamen(qint16 v) { tipoExamen_ = v; }
    qint16 UnaRespuestaSuficiente() const { return unaRespuestaSuficiente_; }
    void setUnaRespuestaSuficiente(qint16 v) { unaRespuestaSuficiente_ = v; }
    qint16 TipoPenalizacion() const { return tipoPenalizacion_; }
    void setTipoPenalizacion(qint16 v) { tipoPenalizacion_ = v; }
    qint16 PenalizarBlancas() const { return penalizarBlancas_; }
    void setPenalizarBlancas(qint16 v) { penalizarBlancas_ = v; }
    float Penalizacion() const { return penalizacion_; }
    void setPenalizacion(float v) { penalizacion_ = v; }
    float NotaMaxima() const { return notaMaxima_; }
    void setNotaMaxima(float v) { notaMaxima_ = v; }
    bool AlumnoDefineArchivoResultados() const { return alumnoDefine_; }
    void setAlumnoDefineArchivoResultados(bool v) { alumnoDefine_ = v; }
    const QString& RutaArchivoResultados() const { return rutaArchivoResultados_; }
    void setRutaArchivoResultados(const QString& v) { rutaArchivoResultados_ = v; }
    bool GuardarArchivoResultados() const { return guardarArchivoResultados_; }
    void setGuardarArchivoResultados(bool v) { guardarArchivoResultados_ = v; }
    bool MostrarFallos() const { return mostrarFallos_; }
    void setMostrarFallos(bool v) { mostrarFallos_ = v; }
    bool MostrarNota() const { return mostrarNota_; }
    void setMostrarNota(bool v) { mostrarNota_ = v; }
    qint16 MinutosLimite() const { return minutosLimite_; }
    void setMinutosLimite(qint16 v) { minutosLimite_ = v; }
    qint32 ColorFuente() const { return colorFuente_; }
    void setColorFuente(qint32 v) { colorFuente_ = v; }
    qint32 ColorFondo() const { return colorFondo_; }
    void setColorFondo(qint32 v) { colorFondo_ = v; }
    bool LogoDerecha() const { return logoDerecha_; }
    void setLogoDerecha(bool v) { logoDerecha_ = v; }
    const QString& ArchivoLogo() const { return archivoLogo_; }
    void setArchivoLogo(const QString& v) { archivoLogo_ = v; }
    const QString& ArchivoSalida() const { return archivoSalida_; }
    void setArchivoSalida(const QString& v) { archivoSalida_ = v; }
    // Labels of the five student data fields, 1..5; a blank label means the field is not asked.
    const QString& DatoAlumno(int i) const { return datoAlumno_[static_cast<size_t>(i - 1)]; }
    void setDatoAlumno(int i, const QString& v) { datoAlumno_[static_cast<size_t>(i - 1)] = v; }
    const QString& DatoAlumno1() const { return DatoAlumno(1); }
    const QString& DatoAlumno2() const { return DatoAlumno(2); }
    const QString& DatoAlumno3() const { return DatoAlumno(3); }
    const QString& DatoAlumno4() const { return DatoAlumno(4); }
    const QString& DatoAlumno5() const { return DatoAlumno(5); }

    // Created empty on first read; a setter replaces the collection.
    const std::shared_ptr<kp::Series>& Series() const;
    void setSeries(std::shared_ptr<kp::Series> v) { series_ = std::move(v); }
    const std::shared_ptr<kp::Preguntas>& Preguntas() const;
    void setPreguntas(std::shared_ptr<kp::Preguntas> v) { preguntas_ = std::move(v); }

    // The number of questions of a run: the slots of the first series. Raises KpError when the
    // exam has no series or the first one holds more than 32,767 slots.
    qint16 PreguntasPrimeraSerie() const;

    // Largest exam file Cargar reads: the whole file is held in memory while it loads, and the
    // format's own positions are 32-bit anyway.
    static constexpr qint64 kMaxFileSize = qint64(1) << 30;

    // Loads an exam file into this (new) object. False on any failure; the object then keeps
    // what was read before the failure. Cargar and Export are the format layer's
    // (format/ExamReader.cpp, format/ExamWriter.cpp).
    bool Cargar(const QString& path);
    // The same on the bytes of an exam file already in memory.
    bool Cargar(const QByteArray& bytes);
    // Writes the exam file named by ArchivoSalida. False on any failure. Every value is checked
    // before the first byte is written, and the file is replaced only once it is complete: a
    // failure leaves any previous file as it was.
    bool Export();
    // The same bytes to an open device; a failure may leave part of them written.
    bool Export(QIODevice& device);

    // Why the last Cargar or Export failed (empty after a success), and its KpError number.
    const QString& errorString() const { return errorString_; }
    int errorCode() const { return errorCode_; }

private:
    // Runs a whole-file operation, turning any failure into false and the error members.
    bool wholeFile(const std::function<void()>& operation);

    QString titulo_;
    bool soloUnaRespuesta_ = false;
    QByteArray archivoLogoBinary_;
    QString idExamen_;
    qint16 tipoExamen_ = 0;
    qint16 unaRespuestaSuficiente_ = 0;
    qint16 tipoPenalizacion_ = 0;
    qint16 penalizarBlancas_ = 0;
    float penalizacion_ = 0;
    float notaMaxima_ = 0;
    bool alumnoDefine_ = false;
    QString rutaArchivoResultados_;
    bool guardarArchivoResultados_ = false;
    bool mostrarFallos_ = false;
    bool mostrarNota_ = false;
    qint16 minutosLimite_ = 0;
    qint32 colorFuente_ = 0;
    qint32 colorFondo_ = 0;
    bool logoDerecha_ = false;
    QString archivoLogo_;
    QString archivoSalida_;
    std::array<QString, 5> datoAlumno_;
    mutable std::shared_ptr<kp::Series> series_;
    mutable std::shared_ptr<kp::Preguntas> preguntas_;
    QString errorString_;
    int errorCode_ = 0;
};

} // namespace kp
