#include "app/services/application_title.h"

#include <QCoreApplication>

void SetApplicationTitle() {
    QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationTitle));
}

QString ApplicationTitle() {
    return QCoreApplication::applicationName();
}
