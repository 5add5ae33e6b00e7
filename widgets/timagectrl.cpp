#include "timagectrl.h"

namespace ruvo {

TImageCtrl::TImageCtrl(QObject *parent) : QObject(parent) {}

TImageCtrl::~TImageCtrl() = default;

} // namespace ruvo
