<?xml version="1.0" encoding="UTF-8"?>
<data><ip>127.0.0.1</ip></data>
