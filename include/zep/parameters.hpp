// Declarations of the ten operations that every named-parameter table offers.
//
// Each package (GL global, SW workstation, SG graphics) keeps one table per value
// type; the routine names are the package prefix, the type letter (i, l, r, c) and
// the operation:
//
//   qnp(n)            number of entries
//   qid(name, id)     id of a short or long name; error report when unknown
//   qcp(id, name)     short name of an entry
//   qcl(id, name)     long name of an entry
//   qvl(id, value)    current value
//   svl(id, value)    store a value
//   qin(name, id)     like qid, but 0 and no report when unknown
//   get(name, value)  value by name
//   set(name, value)  store by name; runtime sources cannot override it
//   stx(name, value)  store by name unless a runtime source names the parameter
//
// so gliqnp ... glistx, gllqnp ... gllstx, glrqnp ... glrstx, glcqnp ... glcstx.
#pragma once

#include <span>
#include <string_view>

#define ZEP_DECLARE_VALUE_TABLE(p, T)                  \
  void p##qnp(int& n);                                 \
  void p##qid(std::string_view name, int& id);         \
  void p##qcp(int id, std::span<char> name);           \
  void p##qcl(int id, std::span<char> name);           \
  void p##qvl(int id, T& value);                       \
  void p##svl(int id, T value);                        \
  void p##qin(std::string_view name, int& id);         \
  void p##get(std::string_view name, T& value);        \
  void p##set(std::string_view name, T value);         \
  void p##stx(std::string_view name, T value);

#define ZEP_DECLARE_TEXT_TABLE(p)                              \
  void p##qnp(int& n);                                         \
  void p##qid(std::string_view name, int& id);                 \
  void p##qcp(int id, std::span<char> name);                   \
  void p##qcl(int id, std::span<char> name);                   \
  void p##qvl(int id, std::span<char> value);                  \
  void p##svl(int id, std::string_view value);                 \
  void p##qin(std::string_view name, int& id);                 \
  void p##get(std::string_view name, std::span<char> value);   \
  void p##set(std::string_view name, std::string_view value);  \
  void p##stx(std::string_view name, std::string_view value);

// All four typed tables of one package.
#define ZEP_DECLARE_PARAMETER_PACKAGE(pkg) \
  ZEP_DECLARE_VALUE_TABLE(pkg##i, int)     \
  ZEP_DECLARE_VALUE_TABLE(pkg##l, bool)    \
  ZEP_DECLARE_VALUE_TABLE(pkg##r, float)   \
  ZEP_DECLARE_TEXT_TABLE(pkg##c)
