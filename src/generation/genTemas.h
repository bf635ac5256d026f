#pragma once

#include "generation/genTema.h"
#include "model/KeyedList.h"

namespace kp {

// The topics of a bank, keyed "tema" + the topic number.
class genTemas : public KeyedList<genTema> {
public:
    // Stores a new topic that holds the given candidate collection itself (shared).
    Ptr Add(std::shared_ptr<kp::genPreguntas> preguntas, const QString& Nombre,
            const QString& Key) {
        auto topic = std::make_shared<genTema>();
        topic->setgenPreguntas(std::move(preguntas));
        topic->setNombre(Nombre);
        topic->setKey(Key);
        insert(Key, topic);
        return topic;
    }
};

} // namespace kp
