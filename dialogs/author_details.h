#pragma once

#include <QString>

namespace sacotin {

// Who wrote the program and how to reach them, as the Help and About windows show it. The
// addresses are in a reserved test domain, short enough to fit their labels whole.
namespace author {

inline const QString contactAddress = QStringLiteral("jean@t4c.test");
inline const QString webAddress = QStringLiteral("sacotin.test");
inline const QString name = QStringLiteral("Jean Martin");
inline const QString friendName = QStringLiteral("Paul Durand");
// Who supplied the item list, and where it comes from.
inline const QString itemListAuthor = QStringLiteral("Luc Moreau");
inline const QString itemListSite = QStringLiteral("www.example.net/objets");

}  // namespace author
}  // namespace sacotin
