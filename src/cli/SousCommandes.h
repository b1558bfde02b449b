#pragma once

#include <QStringList>

// The sub-commands of korv4-cli. Each lives in its own file and is listed once in the table of
// SousCommandes.cpp; main() finds it there by name.

namespace korv4::cli {

// Exit status of every sub-command.
enum Sortie : int {
  kFait = 0,
  kMauvaisUsage = 1,
  kEntreeInvalide = 2,
  kEcritureImpossible = 3,
  kRienAEcrire = 4,
  kDefautsTrouves = 5,  // verifier: the check found faults
};

struct SousCommande {
  const char* nom;
  const char* resume;  // one line for the tool's help
  // arguments: the sub-command's own arguments, its name first (as argv[0] of a program).
  // Null for typon, which main hands over to korv4-typon (LanceTypon.h).
  int (*executer)(const QStringList& arguments);
};

// The table, ended by an entry whose nom is null.
extern const SousCommande kSousCommandes[];

int ExecuteInfo(const QStringList& arguments);
int ExecuteConvertir(const QStringList& arguments);
int ExecuteImage(const QStringList& arguments);
int ExecuteGerber(const QStringList& arguments);
int ExecutePercage(const QStringList& arguments);
int ExecuteTypon(const QStringList& arguments);  // in korv4-typon, not in korv4-cli
int ExecuteVerifier(const QStringList& arguments);
int ExecuteFabrication(const QStringList& arguments);
int ExecuteApercu(const QStringList& arguments);
int ExecuteEquipotentielles(const QStringList& arguments);

}  // namespace korv4::cli
