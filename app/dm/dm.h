#pragma once
// The data module: the application's non-visual objects, alive for the whole run.
#include <QObject>

class Tdm : public QObject {
    Q_OBJECT
public:
    explicit Tdm(QObject *owner = nullptr);
    ~Tdm() override;
};
