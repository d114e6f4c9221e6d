// Decodes a FIT file with the FIT SDK and prints what it found as JSON: whether the file passed
// the SDK's integrity check (header, size, CRC), the decoder's errors, and the messages by kind,
// with scales applied, enumerations as names, times as FIT seconds and fields the SDK does not
// know under their numbers.
// Usage: node fit_check.mjs FILE
import { readFileSync } from 'node:fs';
import { Decoder, Stream } from '@garmin/fitsdk';

const stream = Stream.fromBuffer(readFileSync(process.argv[2]));
const decoder = new Decoder(stream);
const integrity = decoder.checkIntegrity();
const { messages, errors } = decoder.read({
  applyScaleAndOffset: true,
  expandSubFields: true,
  expandComponents: true,
  convertTypesToStrings: true,
  convertDateTimesToDates: false,
  includeUnknownData: true,
  mergeHeartRates: false,
});
console.log(JSON.stringify({ integrity, errors: errors.map(String), messages }));
