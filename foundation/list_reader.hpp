// Free-format (list-directed) reading of text records.
//
// One read fills a list of items (integers, reals, logicals, texts) in order:
//   - every read starts on a new record and goes on to the next records while
//     items remain unfilled;
//   - values are separated by blanks (or tabs), by one comma with optional blanks
//     around it, or by the end of a record;
//   - two commas in a row (or a comma first in a read) give a null value: the item
//     keeps its value;
//   - a slash ends the read; the remaining items keep their values;
//   - "r*value" stands for r copies of the value, "r*" for r null values;
//   - a text is either a word (ending at a blank, comma, slash or the end of the
//     record) or enclosed in apostrophes or quotation marks, inside which a
//     doubled delimiter stands for one delimiter and blanks, commas and slashes
//     are kept; a quoted text ends on the record where it starts;
//   - integers are decimal with an optional sign; reals take a fraction and an
//     exponent with E or D; logicals are T or F, optionally after a period, with
//     anything up to the next separator ignored (".TRUE.", "false").
// Records come from a source that cuts over-long lines to a fixed width, so a line
// longer than any buffer is read in part and never overruns.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace zep::listio {

enum class ReadStatus {
  ok,          // every item was filled, left null, or the read ended at a slash
  endOfFile,   // the records ran out before the items did
  error,       // a value could not be converted into its item, or a quote was not closed
};

// One item of a read. Texts are stored blank-padded or cut to the span's length.
using Item = std::variant<int*, float*, bool*, std::span<char>>;

class ListReader {
 public:
  // Gives the next record, or false at end of file or on a read error.
  using RecordSource = std::function<bool(std::string& record)>;

  explicit ListReader(RecordSource source) : source_(std::move(source)) {}

  // Reads records of a connected unit, each cut to `width` characters.
  ListReader(int unit, std::size_t width);

  // One list-directed read into `items`, in order.
  ReadStatus read(std::span<const Item> items);
  ReadStatus read(std::initializer_list<Item> items) { return read(std::span<const Item>(items.begin(), items.size())); }

 private:
  enum class Token { value, null, slash, endOfFile, error };

  bool nextRecord();
  Token nextValue(std::string& value, bool& quoted);
  void skipBlanks();
  bool atSeparatorEnd() const;

  RecordSource source_;
  std::string record_;
  std::size_t pos_ = 0;
  bool haveRecord_ = false;
  // After a value: whether its separator (a comma) has already been consumed.
  bool afterValue_ = false;
  // Pending repeat of a "r*value" or "r*" group.
  int repeatLeft_ = 0;
  Token repeatToken_ = Token::null;
  std::string repeatValue_;
  bool repeatQuoted_ = false;
};

// Conversions of one list-directed value; false when the text is not a valid value.
bool parseInteger(std::string_view text, int& value);
bool parseReal(std::string_view text, float& value);
bool parseLogical(std::string_view text, bool& value);

}  // namespace zep::listio
