#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace gui::script {

// VBScript's variant subtypes, numbered as VarType reports them.
enum class VType : std::uint16_t {
  Empty = 0,
  Null = 1,
  Integer = 2,
  Long = 3,
  Single = 4,
  Double = 5,
  Currency = 6,
  Date = 7,
  String = 8,
  Object = 9,
  Error = 10,
  Boolean = 11,
  Byte = 17,
  Array = 8204,
};

class ArrayValue;
class ScriptObject;

// One VBScript value. Arrays are shared until written (copy on write); objects are references.
class Variant {
 public:
  Variant() noexcept {}
  Variant(const Variant& other);
  Variant(Variant&& other) noexcept;
  Variant& operator=(const Variant& other);
  Variant& operator=(Variant&& other) noexcept;
  ~Variant();

  static Variant Null();
  // An argument left out of a call ("f 1, , 3").
  static Variant Missing();
  static Variant Boolean(bool value);
  static Variant Byte(std::uint8_t value);
  static Variant Integer(std::int16_t value);
  static Variant Long(std::int32_t value);
  static Variant Single(float value);
  static Variant Double(double value);
  // Currency is kept as its value times 10,000.
  static Variant Currency(std::int64_t scaled);
  // Days since 30 December 1899; the fraction is the time of day.
  static Variant Date(double serial);
  // Raises "Out of memory" past the string and live-memory limits.
  static Variant String(std::string text);
  static Variant Array(std::shared_ptr<ArrayValue> array);
  // A null object is Nothing.
  static Variant Object(std::shared_ptr<ScriptObject> object);

  VType Type() const { return type_; }
  bool Is(VType type) const { return type_ == type; }
  bool IsNumeric() const;

  bool Bool() const { return b_; }
  // Byte, Integer, Long and the scaled Currency.
  std::int64_t Int() const { return i_; }
  // Single, Double and Date.
  double Real() const { return d_; }
  const std::string& Str() const { return s_; }
  const std::shared_ptr<ArrayValue>& Arr() const { return a_; }
  // The array to write to, copied first when another value shares it.
  ArrayValue& MutableArr();
  const std::shared_ptr<ScriptObject>& Obj() const { return o_; }

 private:
  void CopyFrom(const Variant& other);
  void MoveFrom(Variant& other) noexcept;
  void Destroy() noexcept;

  VType type_ = VType::Empty;
  union {
    bool b_;
    std::int64_t i_ = 0;
    double d_;
    std::string s_;
    std::shared_ptr<ArrayValue> a_;
    std::shared_ptr<ScriptObject> o_;
  };
};

// Counts memory against the live limit; raises "Out of memory" when it would be passed.
void ChargeMemory(std::size_t bytes);
void ReleaseMemory(std::size_t bytes) noexcept;

}  // namespace gui::script
